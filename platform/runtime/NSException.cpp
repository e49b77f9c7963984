#include "platform/runtime/NSException.h"

NSException::NSException(std::string name, std::string reason)
    : std::runtime_error(name + ": " + reason), name_(std::move(name)), reason_(std::move(reason)) {}
