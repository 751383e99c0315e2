#pragma once

#include <string>

namespace hovrel::publish {

enum Exit { ExitOk = 0, ExitUsage = 1, ExitInvalid = 2 };

// Every failure travels as one line to main.
struct Failure {
    int exitCode;
    std::string message;
};

[[noreturn]] inline void Fail(const std::string& message, int exitCode = ExitUsage) {
    throw Failure{exitCode, message};
}

} // namespace hovrel::publish
