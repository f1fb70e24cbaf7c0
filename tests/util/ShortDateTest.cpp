#include "util/ShortDate.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <stdexcept>
#include <string>

namespace selvane {
namespace {

// The C locale's short date format is "%m/%d/%y".
class ShortDateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = std::setlocale(LC_TIME, nullptr);
        std::setlocale(LC_TIME, "C");
    }
    void TearDown() override { std::setlocale(LC_TIME, previous_.c_str()); }

    std::string previous_;
};

TEST_F(ShortDateTest, WritesTheCalendarDateWithAFourDigitYear)
{
    const struct {
        double days;
        const char* text;
    } table[] = {
        {0.0, "12/30/1899"},                                 // the start of the range
        {45000.0, "03/15/2023"}, {45000.999, "03/15/2023"},  // the time of day is dropped
        {-1.5, "12/29/1899"},                                // before the epoch the time counts forwards
        {36524.0, "12/30/1999"}, {2958465.0, "12/31/9999"},
    };
    for (const auto& row : table) EXPECT_EQ(FormatShortDate(row.days), row.text) << row.days;
}

TEST_F(ShortDateTest, ReadsDatesWithFourOrTwoDigitYearsAtMidnight)
{
    EXPECT_EQ(ParseShortDate("03/15/2023"), 45000.0);
    EXPECT_EQ(ParseShortDate("12/30/1899"), 0.0);
    EXPECT_EQ(ParseShortDate("03/15/23"), 45000.0);
    EXPECT_EQ(ParseShortDate("12/30/99"), 36524.0);
    EXPECT_EQ(ParseShortDate("02/29/2024"), 45351.0);
    for (double days : {0.0, 1.0, 45000.0, 60000.0}) EXPECT_EQ(ParseShortDate(FormatShortDate(days)), days);
}

TEST_F(ShortDateTest, RejectsWhatIsNotADateInTheFormat)
{
    for (const char* text : {"", "2023-03-15", "15.03.2023", "02/29/2023", "13/01/2023", "00/10/2023",
                             "03/15/2023 12:00", "03/15", "yesterday"})
        EXPECT_EQ(ParseShortDate(text), std::nullopt) << text;
}

TEST_F(ShortDateTest, RefusesValuesOutsideTheRange)
{
    EXPECT_THROW(FormatShortDate(2958466.0), std::out_of_range);
    EXPECT_THROW(FormatShortDate(-693594.0), std::out_of_range);
    EXPECT_THROW(FormatShortDate(std::nan("")), std::out_of_range);
}

}  // namespace
}  // namespace selvane
