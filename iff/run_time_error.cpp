#include "iff/run_time_error.h"

#include <cerrno>
#include <cmath>

namespace planora {

std::string ErrorDescription(int number) {
    switch (number) {
    case kOverflow: return "Overflow";
    case kOutOfMemory: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kBadFileNameOrNumber: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kDeviceIoError: return "Device I/O error";
    case kDiskFull: return "Disk full";
    case kPermissionDenied: return "Permission denied";
    case kPathFileAccessError: return "Path/File access error";
    case kPathNotFound: return "Path not found";
    case kInvalidFileFormat: return "Invalid file format";
    default: return "Application-defined or object-defined error";
    }
}

RunTimeError::RunTimeError(int number) : RunTimeError(number, ErrorDescription(number)) {}

RunTimeError::RunTimeError(int number, std::string description)
    : std::runtime_error(FormatNumber(number) + " " + description),
      number_(number),
      description_(std::move(description)) {}

RunTimeError ErrorFromErrno(int errnoValue, bool writing) {
    switch (errnoValue) {
    case ENOENT: return RunTimeError(writing ? kPathNotFound : kFileNotFound);
    case ENOTDIR: return RunTimeError(kPathNotFound);
    case EACCES:
    case EPERM: return RunTimeError(kPermissionDenied);
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return RunTimeError(kDiskFull);
    case EIO: return RunTimeError(kDeviceIoError);
    case ENOMEM: return RunTimeError(kOutOfMemory);
    case ENAMETOOLONG:
    case EINVAL: return RunTimeError(kBadFileNameOrNumber);
    default: return RunTimeError(kPathFileAccessError);
    }
}

std::string FormatNumber(int64_t value) {
    std::string text = std::to_string(value);
    if (value >= 0) text.insert(text.begin(), ' ');
    return text;
}

std::string FormatFailure(const std::string& prefix, const RunTimeError& failure, const std::string& gap) {
    return prefix + FormatNumber(failure.Number()) + gap + failure.Description();
}

int32_t ConvertToLong(double value) {
    // Rounds half to even, as the conversion of a whole-number file value
    // never meets a half anyway.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw RunTimeError(kOverflow);
    return static_cast<int32_t>(rounded);
}

}  // namespace planora
