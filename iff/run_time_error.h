// Run-time failures of the loader, the writers and the commands.
//
// Plain outcomes (a missing file, a file that is not an ILBM, a cancelled
// dialog) are return values. Everything else that can go wrong at run time
// (a header value that does not fit a 32-bit integer, a picture too large to
// allocate, a file that cannot be read or written) is one exception type
// carrying a failure number and its description. Only the commands catch it,
// and they turn it into one message with FormatFailure.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace planora {

// The failure numbers the program reports, with their texts in
// ErrorDescription.
enum ErrorNumber : int {
    kOverflow = 6,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kBadFileNameOrNumber = 52,
    kFileNotFound = 53,
    kDeviceIoError = 57,
    kDiskFull = 61,
    kPermissionDenied = 70,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    kInvalidFileFormat = 321,
};

// "Overflow", "Out of memory", ...; "Application-defined or object-defined
// error" for a number outside the table.
std::string ErrorDescription(int number);

class RunTimeError : public std::runtime_error {
public:
    explicit RunTimeError(int number);
    RunTimeError(int number, std::string description);

    int Number() const { return number_; }
    const std::string& Description() const { return description_; }

private:
    int number_;
    std::string description_;
};

// Maps an errno value from opening, reading or writing a file onto the
// failure numbers above. `writing` tells a missing folder on write (76) from
// a missing file on read (53).
RunTimeError ErrorFromErrno(int errnoValue, bool writing);

// Decimal text of a number with a leading space when it is not negative and
// a minus sign when it is: 320 -> " 320", -1 -> "-1".
std::string FormatNumber(int64_t value);

// prefix + FormatNumber(number) + gap + description. The load command uses
// ("Load Error: ", two spaces), the saves ("Error: ", one space) and the raw
// exports ("Error Number: ", three spaces).
std::string FormatFailure(const std::string& prefix, const RunTimeError& failure,
                          const std::string& gap);

// Rounds a value to a 32-bit signed integer; 2^31 and above (or below -2^31)
// fail with Overflow. Used wherever a length or value read from the file has
// to become a 32-bit integer.
int32_t ConvertToLong(double value);

}  // namespace planora
