#pragma once

#include <QString>

// "Tavrel.log" in the program folder.
QString LogFilePath();

// Appends "yyyy/mm/dd hh:nn:ss:Name-Msg" and CR LF to the log file. Safe from any thread:
// each line goes out whole in one append, and a log that cannot be written is ignored so
// that a failure handler never fails itself.
void WriteLog(const QString& Name, const QString& Msg);
