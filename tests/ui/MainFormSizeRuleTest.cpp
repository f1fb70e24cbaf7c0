// The size-rule controls: which fields each rule shows and where, the tenths field's carry
// and borrow, "Set 4/3", and the sizes that typed rules give, driven with the mouse and the
// keyboard.
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
    bool sizeFields;    // grpOutRatio and the distortion warning
    bool fitFields;     // grpFitBox
    bool sideField;     // spnWH
    bool percentField;  // spnPercent and its "%"
    bool noEnlargeOffered;
};

class RuleFieldsTest : public MainFormTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(RuleFieldsTest, ShowsTheFieldsOfTheCheckedRule)
{
    const RuleCase& row = GetParam();
    WriteQuietSettings(MakePictures("empty", {}));
    TMainForm& form = StartShown();
    // Start from the other end of the table, so that every row changes something, with
    // "Never enlarge pictures" chosen before magnifying greys it.
    form.radPercent->click();
    QTest::mouseClick(form.chkNoEnlarge, Qt::LeftButton, {}, QPoint(8, form.chkNoEnlarge->height() / 2));
    ASSERT_TRUE(form.chkNoEnlarge->isChecked());
    form.radXIncrease->click();
    auto* radio = form.findChild<QRadioButton*>(row.radio);
    ASSERT_NE(radio, nullptr);

    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));

    ASSERT_TRUE(radio->isChecked());
    EXPECT_EQ(form.grpX->isVisible(), row.factorFields);
    EXPECT_EQ(form.grpOutRatio->isVisible(), row.sizeFields);
    EXPECT_EQ(form.lblAspect->isVisible(), row.sizeFields);
    EXPECT_EQ(form.grpFitBox->isVisible(), row.fitFields);
    EXPECT_EQ(form.spnWH->isVisible(), row.sideField);
    EXPECT_EQ(form.spnPercent->isVisible(), row.percentField);
    EXPECT_EQ(form.lblPercent->isVisible(), row.percentField);
    // Greyed under magnifying, never unchecked.
    EXPECT_EQ(form.chkNoEnlarge->isEnabled(), row.noEnlargeOffered);
    EXPECT_TRUE(form.chkNoEnlarge->isChecked());
    for (QGroupBox* group : {form.grpOutRatio, form.grpFitBox}) {
        if (group->isVisible()) {
            EXPECT_EQ(group->y(), form.grpImgSize->y()) << group->objectName().toStdString();
        }
    }
    // Each field's top is level with its rule's.
    if (row.sideField) {
        EXPECT_EQ(form.spnWH->y(), radio->y());
    }
    if (row.percentField) {
        EXPECT_EQ(form.spnPercent->y(), radio->y());
    }
    if (row.factorFields) {
        EXPECT_EQ(form.spnRound->toolTip(), "How many times you want to increase/decrease the image");
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleFieldsTest,
                         ::testing::Values(RuleCase{"radXDecrease", true, false, false, false, false, true},
                                           RuleCase{"radXIncrease", true, false, false, false, false, false},
                                           RuleCase{"radSameSize", false, true, false, false, false, true},
                                           RuleCase{"radSameWidth", false, false, false, true, false, true},
                                           RuleCase{"radSameHeight", false, false, false, true, false, true},
                                           RuleCase{"radFitBox", false, false, true, false, false, true},
                                           RuleCase{"radLongSide", false, false, false, true, false, true},
                                           RuleCase{"radShortSide", false, false, false, true, false, true},
                                           RuleCase{"radPercent", false, false, false, false, true, true}),
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

// A batch of one w x h picture after a person has clicked the rule, chosen "Never enlarge
// pictures" when asked, and typed into the fields (by their names); the size written.
class TypedRuleTest : public MainFormTest {
protected:
    QSize ResizeTyped(int w, int h, const char* radio,
                      const std::vector<std::pair<const char*, const char*>>& typed, bool noEnlarge = false)
    {
        const std::string folder = MakePictures("photos", {"a.png"}, w, h);
        WriteQuietSettings(folder);
        TMainForm& form = StartShown();
        QTest::mouseClick(form.findChild<QRadioButton*>(radio), Qt::LeftButton);
        if (noEnlarge) QTest::mouseClick(form.chkNoEnlarge, Qt::LeftButton, {}, QPoint(8, 8));
        EXPECT_EQ(form.chkNoEnlarge->isChecked(), noEnlarge);
        for (const auto& [name, text] : typed) {
            auto* field = form.findChild<TSpinField*>(name);
            EXPECT_TRUE(field && field->isVisible()) << name;
            if (!field) continue;
            field->setFocus();
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, text);
        }
        ClickItem(0);

        QTest::keyClick(&form, Qt::Key_F9);

        const Raster output = LoadPicture(folder + "Output/a.jpg");
        return {output.Width(), output.Height()};
    }
};

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

class TypedTieTest : public TypedRuleTest, public ::testing::WithParamInterface<TypedTieCase> {};

TEST_P(TypedTieTest, ResizesToTheSizeOnTheRightSideOfTheHalf)
{
    const TypedTieCase& c = GetParam();
    std::vector<std::pair<const char*, const char*>> typed;
    for (const auto& field :
         {std::pair{"spnRound", c.round}, std::pair{"spnZecimal", c.zecimal}, std::pair{"spnWH", c.wh}})
        if (*field.second) typed.push_back(field);
    EXPECT_EQ(ResizeTyped(c.w, c.h, c.radio, typed), QSize(c.expectedWidth, c.expectedHeight));
}

INSTANTIATE_TEST_SUITE_P(
    Ties, TypedTieTest,
    ::testing::Values(TypedTieCase{"Decrease20x12By1_6", "radXDecrease", "1", "6", "", 20, 12, 12, 7},
                      TypedTieCase{"Decrease15x8By1_2", "radXDecrease", "1", "2", "", 15, 8, 13, 7},
                      TypedTieCase{"Increase52x5By7_7", "radXIncrease", "7", "7", "", 52, 5, 400, 39},
                      TypedTieCase{"SameHeight81Of11x6", "radSameHeight", "", "", "81", 11, 6, 149, 81}),
    CaseName);

struct TypedRuleCase {
    const char* name;
    int w, h;
    const char* radio;
    std::vector<std::pair<const char*, const char*>> typed;
    bool noEnlarge;
    QSize expected;
};

class TypedRuleSizeTest : public TypedRuleTest, public ::testing::WithParamInterface<TypedRuleCase> {};

TEST_P(TypedRuleSizeTest, WritesTheSizeOfTheTypedRule)
{
    const TypedRuleCase& c = GetParam();
    EXPECT_EQ(ResizeTyped(c.w, c.h, c.radio, c.typed, c.noEnlarge), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TypedRuleSizeTest,
    ::testing::Values(
        TypedRuleCase{"FitBox16x16",
                      40,
                      30,
                      "radFitBox",
                      {{"spnFitWidth", "16"}, {"spnFitHeight", "16"}},
                      false,
                      QSize(16, 12)},
        // The height limits here: 100 x 15 holds 20 x 15.
        TypedRuleCase{"FitBox100x15",
                      40,
                      30,
                      "radFitBox",
                      {{"spnFitWidth", "100"}, {"spnFitHeight", "15"}},
                      false,
                      QSize(20, 15)},
        TypedRuleCase{"LongSide20", 40, 30, "radLongSide", {{"spnWH", "20"}}, false, QSize(20, 15)},
        TypedRuleCase{"LongSide20Portrait", 30, 40, "radLongSide", {{"spnWH", "20"}}, false, QSize(15, 20)},
        TypedRuleCase{"ShortSide15", 40, 30, "radShortSide", {{"spnWH", "15"}}, false, QSize(20, 15)},
        TypedRuleCase{"Percent50", 40, 30, "radPercent", {{"spnPercent", "50"}}, false, QSize(20, 15)},
        // 13.2 x 9.9, each side rounded on its own.
        TypedRuleCase{"Percent33", 40, 30, "radPercent", {{"spnPercent", "33"}}, false, QSize(13, 10)},
        TypedRuleCase{"Percent150", 40, 30, "radPercent", {{"spnPercent", "150"}}, false, QSize(60, 45)},
        TypedRuleCase{"NoEnlargeLongSide100", 40, 30, "radLongSide", {{"spnWH", "100"}}, true, QSize(40, 30)},
        TypedRuleCase{
            "NoEnlargePercent150", 40, 30, "radPercent", {{"spnPercent", "150"}}, true, QSize(40, 30)},
        // Shrinking is not held back.
        TypedRuleCase{"NoEnlargeFitBox16x16",
                      40,
                      30,
                      "radFitBox",
                      {{"spnFitWidth", "16"}, {"spnFitHeight", "16"}},
                      true,
                      QSize(16, 12)},
        // The same size holds each side to the picture's.
        TypedRuleCase{"NoEnlargeSameSize100x20",
                      40,
                      30,
                      "radSameSize",
                      {{"spnWidth", "100"}, {"spnHeight", "20"}},
                      true,
                      QSize(40, 20)}),
    CaseName);

// Under the preview, the clicked picture's size and the size the rule gives it, kept up as
// the rule and its fields change; nothing for a picture that cannot be shown.
TEST_F(MainFormTest, ThePreviewShowsTheSizeTheRuleWillGive)
{
    const std::string folder = MakePictures("photos", {"a.jpg"}, 400, 300);
    TestSandbox::WriteFile(folder + "broken.jpg", "not a picture");
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    const auto type = [](TSpinField* field, const char* text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    };
    ASSERT_EQ(form.FileList->ItemText(0), "a.jpg");
    EXPECT_EQ(form.lblPictureSize->text(), "");

    ClickItem(0);
    EXPECT_EQ(form.lblPictureSize->text(), "400 x 300 -> 200 x 150");
    type(form.spnZecimal, "5");
    EXPECT_EQ(form.lblPictureSize->text(), "400 x 300 -> 160 x 120");
    QTest::mouseClick(form.radSameWidth, Qt::LeftButton);
    type(form.spnWH, "100");
    EXPECT_EQ(form.lblPictureSize->text(), "400 x 300 -> 100 x 75");
    QTest::mouseClick(form.radXDecrease, Qt::LeftButton);
    type(form.spnRound, "1");
    type(form.spnZecimal, "0");
    EXPECT_EQ(form.lblPictureSize->text(), "400 x 300");

    ClickItem(1);
    EXPECT_EQ(form.lblPictureSize->text(), "");
}

}  // namespace
}  // namespace selvane::test
