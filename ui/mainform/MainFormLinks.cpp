// The Info menu's web pages, the two web buttons of the resizer page, the "IMAGE MAY GET
// DISTORTED" label and the about box.
#include "ui/mainform/MainForm.h"

#include "ui/ErrorReport.h"
#include "ui/widgets/AboutBox.h"
#include "ui/widgets/ClickFilter.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace selvane {

void TMainForm::ConnectLinks()
{
    connect(mnuAbout, &QAction::triggered, this, Reporting(this, &TMainForm::mnuAboutClick));
    connect(mnuOnlineHelp, &QAction::triggered, this, Reporting(this, &TMainForm::mnuOnlineHelpClick));
    connect(btnManual, &QPushButton::clicked, this, Reporting(this, &TMainForm::mnuOnlineHelpClick));
    connect(mnuSupport, &QAction::triggered, this, Reporting(this, &TMainForm::mnuSupportClick));
    connect(btnSupport, &QPushButton::clicked, this, Reporting(this, &TMainForm::mnuSupportClick));
    connect(mnuProgramPage, &QAction::triggered, this, Reporting(this, &TMainForm::mnuProgramPageClick));
    connect(mnuCompanyPage, &QAction::triggered, this, Reporting(this, &TMainForm::mnuCompanyPageClick));
    OnWidgetClick(lblAspect, [this] { RunReportingErrors([this] { lblAspectClick(); }); });
}

void TMainForm::mnuAboutClick()
{
    TAboutBox box(this);
    box.exec();
}

void TMainForm::mnuOnlineHelpClick()
{
    OpenWithShell(std::string(kManualUrl));
}

void TMainForm::mnuProgramPageClick()
{
    OpenWithShell(std::string(kProgramPageUrl));
}

void TMainForm::mnuCompanyPageClick()
{
    OpenWithShell(std::string(kHomePageUrl));
}

void TMainForm::mnuSupportClick()
{
    OpenWithShell(std::string(kSupportForumUrl));
    ShowInfoMessage(
        "Please create your own account on our forum and post your queries. Please allow few hours to "
        "our support staff to answer your questions.");
}

void TMainForm::lblAspectClick()
{
    OpenWithShell(std::string(kManualUrl));
}

}  // namespace selvane
