#pragma once

#include <QStringList>

#include <functional>
#include <map>
#include <string>

// A subcommand gets its own arguments (without the program and command names) and returns
// the exit status.
using CommandFn = std::function<int(const QStringList& Args)>;

struct Command {
    std::string usage;
    CommandFn run;
};

std::map<std::string, Command>& Commands();

// Registers a subcommand; used as the initialiser of a file-scope constant in cmd_<name>.cpp.
bool RegisterCommand(const std::string& Name, const std::string& Usage, CommandFn Run);

// Prints one line on stderr.
void PrintError(const QString& Message);
