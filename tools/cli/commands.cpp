#include "commands.h"

#include <cstdio>

std::map<std::string, Command>& Commands()
{
    static std::map<std::string, Command> commands;
    return commands;
}

bool RegisterCommand(const std::string& Name, const std::string& Usage, CommandFn Run)
{
    Commands().emplace(Name, Command{Usage, std::move(Run)});
    return true;
}

void PrintError(const QString& Message)
{
    std::fprintf(stderr, "tavrel-cli: %s\n", Message.toLocal8Bit().constData());
}
