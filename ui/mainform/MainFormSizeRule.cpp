// The controls of the size rule: which fields each rule shows, the carry and borrow of the
// tenths field, and "Set 4/3".
#include "ui/mainform/MainForm.h"

#include "engine/job/SizeRules.h"
#include "ui/ErrorReport.h"
#include "ui/mainform/CompareFiltersWindow.h"
#include "ui/widgets/SpinField.h"
#include "ui/widgets/WidgetLook.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace selvane {

std::array<std::pair<QRadioButton*, ResizeRule>, 9> TMainForm::RuleButtons() const
{
    return {{{radXDecrease, ResizeRule::Decrease},
             {radXIncrease, ResizeRule::Increase},
             {radSameSize, ResizeRule::SameSize},
             {radSameWidth, ResizeRule::SameWidth},
             {radSameHeight, ResizeRule::SameHeight},
             {radFitBox, ResizeRule::FitBox},
             {radLongSide, ResizeRule::LongSide},
             {radShortSide, ResizeRule::ShortSide},
             {radPercent, ResizeRule::Percent}}};
}

void TMainForm::ConnectSizeRule()
{
    for (const auto& button : RuleButtons()) {
        connect(button.first, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) RunReportingErrors([this] { ResizeTypeChanged(); });
        });
    }
    connect(spnZecimal, &TSpinField::Change, this, Reporting(this, &TMainForm::spnZecimalChange));
    connect(btn43, &QPushButton::clicked, this, Reporting(this, &TMainForm::btn43Click));

    for (const auto& button : RuleButtons())
        connect(button.first, &QRadioButton::toggled, this,
                Reporting(this, &TMainForm::SizeRuleValuesChanged));
    for (TSpinField* field :
         {spnRound, spnZecimal, spnWidth, spnHeight, spnWH, spnFitWidth, spnFitHeight, spnPercent})
        connect(field, &TSpinField::Change, this, Reporting(this, &TMainForm::SizeRuleValuesChanged));
    connect(chkNoEnlarge, &QCheckBox::toggled, this, Reporting(this, &TMainForm::SizeRuleValuesChanged));
}

void TMainForm::ResizeTypeChanged()
{
    const bool factorRule = radXDecrease->isChecked() || radXIncrease->isChecked();
    grpX->setVisible(factorRule);
    if (factorRule) {
        for (TSpinField* field : {spnRound, spnZecimal})
            SetHint(field, "How many times you want to increase/decrease the image");
    }

    const bool sameSize = radSameSize->isChecked();
    if (sameSize) grpOutRatio->move(grpOutRatio->x(), grpImgSize->y());
    grpOutRatio->setVisible(sameSize);
    lblAspect->setVisible(sameSize);
    grpFitBox->setVisible(radFitBox->isChecked());

    QRadioButton* sideRule = nullptr;
    for (QRadioButton* radio : {radSameWidth, radSameHeight, radLongSide, radShortSide})
        if (radio->isChecked()) sideRule = radio;
    if (sideRule) spnWH->move(spnWH->x(), sideRule->y());
    spnWH->setVisible(sideRule != nullptr);

    spnPercent->setVisible(radPercent->isChecked());
    lblPercent->setVisible(radPercent->isChecked());
    // Magnifying enlarges every picture by its nature; the choice stays for the other rules.
    chkNoEnlarge->setEnabled(!radXIncrease->isChecked());
}

void TMainForm::spnZecimalChange()
{
    // The field's own changes below must not run this handler again.
    if (zecimalChanging_) return;
    zecimalChanging_ = true;
    const int tenths = spnZecimal->Value();
    if (spnRound->Value() == 1 && tenths == -1) {
        spnZecimal->SetValue(0);
    } else if (tenths == 10) {
        spnRound->SetValue(spnRound->Value() + 1);
        spnZecimal->SetValue(0);
    } else if (tenths == -1) {
        spnRound->SetValue(spnRound->Value() - 1);
        spnZecimal->SetValue(9);
    }
    zecimalChanging_ = false;
}

void TMainForm::SizeRuleValuesChanged()
{
    ShowPictureSize();
    // Quietly: a field being typed in passes through values the rule refuses.
    if (CompareWindow && CompareWindow->isVisible()) ShowComparison(false);
}

void TMainForm::ShowPictureSize()
{
    if (previewedSize_.isEmpty()) {
        lblPictureSize->clear();
        return;
    }
    QString text = QStringLiteral("%1 x %2").arg(previewedSize_.width()).arg(previewedSize_.height());
    // A factor the rule refuses gives no size; the picture's own still shows.
    if (const auto size =
            ComputeOutputSize(CurrentJobOptions().size, previewedSize_.width(), previewedSize_.height()))
        text += QStringLiteral(" -> %1 x %2").arg(size->width).arg(size->height);
    lblPictureSize->setText(text);
}

void TMainForm::btn43Click()
{
    const std::int64_t height = RoundHalfEven(spnWidth->Value() * 3.0 / 4.0);
    spnHeight->SetValue(
        static_cast<int>(std::clamp<std::int64_t>(height, spnHeight->MinValue(), spnHeight->MaxValue())));
}

}  // namespace selvane
