#include "installer/command_line.h"

#include <cwchar>

namespace hovrel {

const wchar_t kDefaultInstallerArguments[] =
    L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS";

std::wstring BuildInstallerCommandLine(const wchar_t* installerPath, const wchar_t* arguments) {
    if (arguments == nullptr || arguments[0] == L'\0') {
        arguments = kDefaultInstallerArguments;
    }
    const std::size_t pathLength = std::wcslen(installerPath);
    const std::size_t argumentsLength = std::wcslen(arguments);
    std::wstring commandLine;
    commandLine.reserve(pathLength + argumentsLength + 8);
    commandLine += L'"';
    commandLine.append(installerPath, pathLength);
    commandLine += L"\" ";
    commandLine.append(arguments, argumentsLength);
    return commandLine;
}

} // namespace hovrel
