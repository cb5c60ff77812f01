// Run-time failures: numbers, texts, the one message format and the checked
// 32-bit conversion.
#include <cerrno>

#include <gtest/gtest.h>

#include "iff/run_time_error.h"

namespace planora {
namespace {

TEST(Failures, DescriptionsOfEveryNumber) {
    const std::pair<int, const char*> table[] = {
        {6, "Overflow"}, {7, "Out of memory"}, {9, "Subscript out of range"},
        {52, "Bad file name or number"}, {53, "File not found"}, {57, "Device I/O error"},
        {61, "Disk full"}, {70, "Permission denied"}, {75, "Path/File access error"},
        {76, "Path not found"}, {321, "Invalid file format"},
    };
    for (const auto& [number, text] : table) {
        EXPECT_EQ(ErrorDescription(number), text) << number;
        RunTimeError failure(number);
        EXPECT_EQ(failure.Number(), number);
        EXPECT_EQ(failure.Description(), text);
    }
    EXPECT_EQ(ErrorDescription(12345), "Application-defined or object-defined error");
}

TEST(Failures, NumbersHaveALeadingSpaceUnlessNegative) {
    EXPECT_EQ(FormatNumber(6), " 6");
    EXPECT_EQ(FormatNumber(0), " 0");
    EXPECT_EQ(FormatNumber(320), " 320");
    EXPECT_EQ(FormatNumber(-1), "-1");
    EXPECT_EQ(FormatNumber(-32768), "-32768");
    EXPECT_EQ(FormatNumber(81920), " 81920");
}

TEST(Failures, MessagesOfTheThreeCommands) {
    const RunTimeError overflow(6);
    EXPECT_EQ(FormatFailure("Load Error: ", overflow, "  "), "Load Error:  6  Overflow");
    EXPECT_EQ(FormatFailure("Error: ", RunTimeError(76), " "), "Error:  76 Path not found");
    EXPECT_EQ(FormatFailure("Error Number: ", RunTimeError(70), "   "), "Error Number:  70   Permission denied");
    EXPECT_EQ(FormatFailure("Load Error: ", RunTimeError(-5, "Odd"), "  "), "Load Error: -5  Odd");
}

TEST(Failures, ErrnoValuesMapOntoTheTable) {
    EXPECT_EQ(ErrorFromErrno(ENOENT, false).Number(), 53);
    EXPECT_EQ(ErrorFromErrno(ENOENT, true).Number(), 76);
    EXPECT_EQ(ErrorFromErrno(EACCES, true).Number(), 70);
    EXPECT_EQ(ErrorFromErrno(ENOSPC, true).Number(), 61);
    EXPECT_EQ(ErrorFromErrno(ENOMEM, false).Number(), 7);
    EXPECT_EQ(ErrorFromErrno(EIO, false).Number(), 57);
}

TEST(Failures, ConversionTo32BitsRoundsAndOverflows) {
    EXPECT_EQ(ConvertToLong(20.0), 20);
    EXPECT_EQ(ConvertToLong(2147483647.0), 2147483647);
    EXPECT_EQ(ConvertToLong(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(ConvertToLong(2.4), 2);
    EXPECT_EQ(ConvertToLong(2.6), 3);
    for (double tooLarge : {2147483648.0, 4294967295.0, -2147483649.0}) {
        try {
            ConvertToLong(tooLarge);
            ADD_FAILURE() << "no failure for " << tooLarge;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.Number(), 6);
        }
    }
}

}  // namespace
}  // namespace planora
