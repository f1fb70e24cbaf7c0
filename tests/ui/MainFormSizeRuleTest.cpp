// The size-rule controls: which fields each rule shows, the tenths field's carry and
// borrow, and "Set 4/3", driven with the mouse and the keyboard.
#include "engine/codec/PictureLoader.h"
#include "MainFormFixture.h"
#include "PageLayoutCheck.h"
#include "tests/support/CaseName.h"

#include "ui/widgets/SpinField.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace selvane::test {
namespace {

struct RuleCase {
    const char* radio;
    bool factorFields;
    bool sizeFields;  // grpOutRatio and the distortion warning
    bool sideField;   // spnWH
};

class RuleFieldsTest : public MainFormTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(RuleFieldsTest, ShowsTheFieldsOfTheCheckedRule)
{
    WriteQuietSettings(MakePictures("empty", {}));
    TMainForm& form = StartShown();
    // Start from the other end of the table, so that every row changes something.
    form.radSameHeight->click();
    form.radXIncrease->click();
    auto* radio = form.findChild<QRadioButton*>(GetParam().radio);
    ASSERT_NE(radio, nullptr);

    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));

    ASSERT_TRUE(radio->isChecked());
    EXPECT_EQ(form.grpX->isVisible(), GetParam().factorFields);
    EXPECT_EQ(form.grpOutRatio->isVisible(), GetParam().sizeFields);
    EXPECT_EQ(form.lblAspect->isVisible(), GetParam().sizeFields);
    EXPECT_EQ(form.spnWH->isVisible(), GetParam().sideField);
    if (GetParam().sizeFields) {
        EXPECT_EQ(form.grpOutRatio->y(), form.grpImgSize->y());
    }
    if (GetParam().sideField) {
        EXPECT_EQ(form.spnWH->y(), radio->y());  // its top level with the rule's
    }
    if (GetParam().factorFields) {
        EXPECT_EQ(form.spnRound->toolTip(), "How many times you want to increase/decrease the image");
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleFieldsTest,
                         ::testing::Values(RuleCase{"radXDecrease", true, false, false},
                                           RuleCase{"radXIncrease", true, false, false},
                                           RuleCase{"radSameSize", false, true, false},
                                           RuleCase{"radSameWidth", false, false, true},
                                           RuleCase{"radSameHeight", false, false, true}),
                         [](const auto& row) { return std::string(row.param.radio); });

struct LookCase {
    const char* name;
    const char* skin;  // the chkSkins line of the file
};

class ResizerPageLayoutTest : public MainFormTest, public ::testing::WithParamInterface<LookCase> {};

// Under every rule, the page's controls and the fields the rule shows are whole and apart.
TEST_P(ResizerPageLayoutTest, EveryControlIsWholeAndApartUnderEveryRule)
{
    WriteQuietSettings(MakePictures("empty", {}), GetParam().skin);
    TMainForm& form = StartShown();
    for (QRadioButton* radio : form.grpImgSize->findChildren<QRadioButton*>()) {
        SCOPED_TRACE(radio->objectName().toStdString());
        radio->click();
        ASSERT_TRUE(radio->isChecked());
        ExpectWholeAndApart(form.tabResizer);
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, ResizerPageLayoutTest,
                         ::testing::Values(LookCase{"DesktopLook", "chkSkins=0\n"},
                                           LookCase{"Skin", "chkSkins=1\n"}),
                         CaseName);

TEST_F(MainFormTest, TheStoredRuleShowsItsFieldsAtStart)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Resize]\nradXDecrease=0\nradSameWidth=1\n");
    TMainForm& form = StartShown();
    EXPECT_TRUE(form.spnWH->isVisibleTo(form.tabResizer));
    EXPECT_FALSE(form.grpX->isVisibleTo(form.tabResizer));
    EXPECT_FALSE(form.grpOutRatio->isVisibleTo(form.tabResizer));
}

struct TenthsCase {
    int round;
    int tenths;
    Qt::Key key;
    int roundAfter;
    int tenthsAfter;
};

class TenthsFieldTest : public MainFormTest, public ::testing::WithParamInterface<TenthsCase> {};

TEST_P(TenthsFieldTest, CarriesAndBorrows)
{
    const TenthsCase& row = GetParam();
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\nspnRound=" + std::to_string(row.round) +
                  "\nspnZecimal=" + std::to_string(row.tenths) + "\n");
    TMainForm& form = StartShown();
    form.spnZecimal->setFocus();
    QTest::keyClick(form.spnZecimal, row.key);
    EXPECT_EQ(form.spnRound->Value(), row.roundAfter);
    EXPECT_EQ(form.spnZecimal->Value(), row.tenthsAfter);
}

INSTANTIATE_TEST_SUITE_P(Steps, TenthsFieldTest,
                         ::testing::Values(TenthsCase{2, 9, Qt::Key_Up, 3, 0},    // carry
                                           TenthsCase{10, 9, Qt::Key_Up, 10, 0},  // carry at the top
                                           TenthsCase{3, 0, Qt::Key_Down, 2, 9},  // borrow
                                           TenthsCase{1, 0, Qt::Key_Down, 1, 0},  // never below 1.0
                                           TenthsCase{4, 5, Qt::Key_Up, 4, 6}),
                         [](const auto& testCase) {
                             const TenthsCase& row = testCase.param;
                             return "From" + std::to_string(row.round) + "_" + std::to_string(row.tenths) +
                                    (row.key == Qt::Key_Up ? "Up" : "Down");
                         });

TEST_F(MainFormTest, TypingInTheTenthsFieldCarriesAndBorrows)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\nspnRound=4\nspnZecimal=3\n");
    TMainForm& form = StartShown();
    form.spnZecimal->setFocus();
    QTest::keyClick(form.spnZecimal, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form.spnZecimal, "10");
    EXPECT_EQ(form.spnRound->Value(), 5);
    EXPECT_EQ(form.spnZecimal->Value(), 0);
    // A lone minus sign is not a number and reads as the field's minimum, -1: it borrows.
    QTest::keyClick(form.spnZecimal, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form.spnZecimal, "-");
    EXPECT_EQ(form.spnRound->Value(), 4);
    EXPECT_EQ(form.spnZecimal->Value(), 9);
}

struct AspectCase {
    const char* width;
    int height;
};

class SetFourThirdsTest : public MainFormTest, public ::testing::WithParamInterface<AspectCase> {};

TEST_P(SetFourThirdsTest, SetsTheHeightFromTheWidth)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Resize]\nradSameSize=1\n");
    TMainForm& form = StartShown();
    form.spnWidth->setFocus();
    QTest::keyClick(form.spnWidth, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form.spnWidth, GetParam().width);
    QTest::mouseClick(form.btn43, Qt::LeftButton);
    EXPECT_EQ(form.spnHeight->Value(), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Widths, SetFourThirdsTest,
                         ::testing::Values(AspectCase{"200", 150}, AspectCase{"201", 151},
                                           AspectCase{"202", 152}, AspectCase{"10", 10},
                                           AspectCase{"20000", 15000},
                                           // Clicking the button leaves the field, which brings
                                           // its value into range first.
                                           AspectCase{"40000", 15000}),
                         [](const auto& row) { return "Width" + std::string(row.param.width); });

// Sizes within a double's rounding of a half, typed into the window's own fields.
struct TypedTieCase {
    const char* name;
    const char* radio;
    const char* round;
    const char* zecimal;
    const char* wh;
    int w, h;
    int expectedWidth, expectedHeight;
};

class TypedTieTest : public MainFormTest, public ::testing::WithParamInterface<TypedTieCase> {};

TEST_P(TypedTieTest, ResizesToTheSizeOnTheRightSideOfTheHalf)
{
    const TypedTieCase& c = GetParam();
    const std::string folder = MakePictures("photos", {"a.png"}, c.w, c.h);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    QTest::mouseClick(form.findChild<QRadioButton*>(c.radio), Qt::LeftButton);
    for (const auto& [field, text] : {std::pair{form.spnRound, c.round},
                                      std::pair{form.spnZecimal, c.zecimal}, std::pair{form.spnWH, c.wh}}) {
        if (!*text) continue;
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }
    ClickItem(0);

    QTest::keyClick(&form, Qt::Key_F9);

    const Raster output = LoadPicture(folder + "Output/a.jpg");
    EXPECT_EQ(output.Width(), c.expectedWidth);
    EXPECT_EQ(output.Height(), c.expectedHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Ties, TypedTieTest,
    ::testing::Values(TypedTieCase{"Decrease20x12By1_6", "radXDecrease", "1", "6", "", 20, 12, 12, 7},
                      TypedTieCase{"Decrease15x8By1_2", "radXDecrease", "1", "2", "", 15, 8, 13, 7},
                      TypedTieCase{"Increase52x5By7_7", "radXIncrease", "7", "7", "", 52, 5, 400, 39},
                      TypedTieCase{"SameHeight81Of11x6", "radSameHeight", "", "", "81", 11, 6, 149, 81}),
    CaseName);

}  // namespace
}  // namespace selvane::test
