// The spin field: its value is the integer its text holds, the minimum for any other text,
// and a typed value outside the range holds until the field loses the focus.
#include "ui/widgets/SpinField.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace selvane {
namespace {

class SpinFieldTest : public ::testing::Test {
protected:
    SpinFieldTest()
    {
        field_ = new TSpinField(&window_);
        other_ = new QLineEdit(&window_);
        other_->move(0, 40);
        field_->SetRange(800, 20000);
        field_->SetIncrement(100);
        field_->SetValue(4000);
        window_.show();
        window_.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
        field_->setFocus();
    }

    void Type(const char* text)
    {
        QTest::keyClick(field_, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field_, text);
    }

    QWidget window_;
    TSpinField* field_;
    QLineEdit* other_;
};

TEST_F(SpinFieldTest, AValueTypedOutsideTheRangeHoldsUntilTheFocusLeaves)
{
    Type("50");
    EXPECT_EQ(field_->Value(), 50);
    other_->setFocus();
    EXPECT_EQ(field_->Value(), 800);
    EXPECT_EQ(field_->text(), "800");

    field_->setFocus();
    Type("99999");
    EXPECT_EQ(field_->Value(), 99999);
    other_->setFocus();
    EXPECT_EQ(field_->Value(), 20000);
}

TEST_F(SpinFieldTest, TextThatIsNotANumberReadsAsTheMinimum)
{
    Type("-");
    EXPECT_EQ(field_->text(), "-");
    EXPECT_EQ(field_->Value(), 800);
    Type("");
    QTest::keyClick(field_, Qt::Key_Backspace);
    EXPECT_EQ(field_->text(), "");
    EXPECT_EQ(field_->Value(), 800);
    // Letters are refused as they are typed.
    Type("12a3");
    EXPECT_EQ(field_->text(), "123");
}

TEST_F(SpinFieldTest, ArrowsStepByTheIncrementWithinTheRange)
{
    QTest::keyClick(field_, Qt::Key_Up);
    EXPECT_EQ(field_->Value(), 4100);
    field_->SetValue(19950);
    QTest::keyClick(field_, Qt::Key_Up);
    EXPECT_EQ(field_->Value(), 20000);
    QTest::keyClick(field_, Qt::Key_Up);
    EXPECT_EQ(field_->Value(), 20000);
}

TEST_F(SpinFieldTest, EveryChangeOfTheTextIsReported)
{
    QSignalSpy changes(field_, &TSpinField::Change);
    Type("12");
    EXPECT_EQ(changes.count(), 2);  // "1" over the selected text, then "12"
    field_->SetValue(900);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(SpinFieldTest, AFieldWithoutBoundsTakesAnyNumber)
{
    field_->SetRange(0, 0);
    Type("-45");
    other_->setFocus();
    EXPECT_EQ(field_->Value(), -45);
    field_->SetValue(123456);
    EXPECT_EQ(field_->Value(), 123456);
}

TEST_F(SpinFieldTest, AMaximumLengthLimitsTheTyping)
{
    field_->SetRange(1, 10);
    field_->SetMaxLength(2);
    Type("123");
    EXPECT_EQ(field_->text(), "12");
    EXPECT_EQ(field_->Value(), 12);
}

}  // namespace
}  // namespace selvane
