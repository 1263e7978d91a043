#include "base/exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(Exceptions, TextExceptionsShareOneBaseAndKeepTheirMessage)
{
    try {
        throw FormatException("Invalid color: red");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid color: red");
    }
    EXPECT_THROW(throw UserCancelledException(), Exception);
    EXPECT_THROW(throw LostWindowException(), std::exception);
    EXPECT_STREQ(EOFException().what(), "End of file error");
}

TEST(Exceptions, LibraryExceptionsAreNotTextExceptions)
{
    auto throwsFileError = [] {
        try {
            throw QorFiles::Exception("Error reading from file");
        } catch (const Exception&) {
            return false;
        } catch (const std::exception& e) {
            return std::string(e.what()) == "Error reading from file";
        }
    };
    EXPECT_TRUE(throwsFileError());
    EXPECT_STREQ(QorDebug::Assert("broken").what(), "broken");
}

TEST(Exceptions, RCStringMessageIsSharedNotCopied)
{
    refString message = Wex::MakeRCString("Cannot find font");
    {
        Wex::xExceptionWithRCString e(message);
        EXPECT_EQ(message->GetReferenceCount(), 2);
        EXPECT_EQ(e.GetMessage().Get(), message.Get());
        EXPECT_STREQ(e.what(), "Cannot find font");
        Wex::xExceptionWithRCString copy = e;
        EXPECT_EQ(message->GetReferenceCount(), 3);
    }
    EXPECT_EQ(message->GetReferenceCount(), 1);
    EXPECT_STREQ(Wex::xExceptionWithRCString(refString()).what(), "");
    EXPECT_STREQ(Wex::xInvalidFormat().what(), "Invalid data format");
    EXPECT_THROW(throw Wex::xInvalidFormat(), Wex::xExceptionWithRCString);
}

TEST(Exceptions, OSErrorsCarryStatusAndText)
{
    Wex::xMacOSError error(-43);
    EXPECT_EQ(error.GetStatus(), -43);
    EXPECT_STREQ(error.what(), "File not found (OS status -43)");
    EXPECT_EQ(Wex::FormatMacOSStatus(-128), "User cancelled (OS status -128)");
    EXPECT_EQ(Wex::FormatMacOSStatus(-12345), "OS status -12345");
    EXPECT_EQ(Wex::FormatMacOSStatus(7), "OS status 7");
    EXPECT_THROW(throw Wex::xMacOSError(-50), Wex::xOSError);
    EXPECT_STREQ(Wex::xCannotReadBeyondEnd().what(), "Cannot read beyond end");
    EXPECT_THROW(throw Wex::xCannotWriteBeyondEnd(), Wex::xException);
}

} // namespace
