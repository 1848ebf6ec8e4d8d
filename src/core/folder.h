#pragma once

#include <QString>

// The folder that holds the executable, without a trailing separator. The settings file
// and the log file live there.
QString AppFolder();

// Sets AppFolder from the running executable's path; on failure logs "InitFolder" and
// leaves the folder empty.
void InitFolder();

// Points the program folder elsewhere: for tests and the demo, which keep their files in
// a scratch folder.
void SetAppFolder(const QString& Folder);
