#pragma once

// Makes "Meiryo UI" at 11 pixels the default font of every control created afterwards.
// Where that family is missing, a Japanese font installed on the system stands in for it.
void InstallDefaultFont();
