// The batch runner and the job log: Start, the single-image double-click, Abort, "Show
// result", "Copy as command line" and the quality read-outs.
#include "ui/mainform/MainForm.h"

#include "engine/job/ConcurrentBatch.h"
#include "engine/job/ResizeCommandText.h"
#include "source/PathEdit.h"
#include "source/TessaroFileList.h"
#include "ui/ErrorReport.h"
#include "ui/RasterImage.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <ctime>
#include <optional>
#include <set>
#include <thread>

namespace selvane {

// What the engine's jobs need from the window: the log, error boxes, the preview, and for
// a batch the names' paths, the options of the moment and the pause between files.
class TMainForm::TFormJobHost : public BatchHost {
public:
    TFormJobHost(TMainForm& form, std::string outputFolder)
        : form_(form), outputFolder_(std::move(outputFolder))
    {}

    void AppendLog(const std::string& line) override { form_.AppendLog(line); }
    void ShowError(const std::string& text) override { ShowErrorMessage(text); }
    void PictureLoaded(const Raster& picture, bool repaintNow) override
    {
        form_.ShowPicture(RasterToImage(picture), repaintNow);
    }
    void FocusFactorField() override
    {
        if (form_.spnRound->isVisibleTo(&form_)) form_.spnRound->setFocus();
    }
    // The path edit's text is read afresh for every file; the output folder stays the one
    // of the batch's start.
    std::string SourcePath(const std::string& name) override
    {
        name_ = name;
        return form_.edtPath->text().toStdString() + name;
    }
    // Called right after SourcePath for the same name. A name from a tree keeps its
    // subfolders below the output folder.
    std::string OutputFolder(const std::string&) override { return outputFolder_ + ExtractFilePath(name_); }
    JobOptions Options() override { return form_.CurrentJobOptions(); }
    void BeforeFile(const std::string& name) override
    {
        form_.FocusListEntry(name);
        QCoreApplication::processEvents();
    }
    bool AbortRequested() override { return form_.AbortRequested || form_.closeAfterJobs_; }

protected:
    TMainForm& form_;

private:
    std::string outputFolder_;
    std::string name_;
};

// A batch's host: the progress in the status bar while it lives, and what a batch on
// several cores needs besides, the window kept answering while it waits and each loaded
// picture shown in its turn.
class TMainForm::TFormBatchHost final : public TFormJobHost {
public:
    TFormBatchHost(TMainForm& form, std::string outputFolder, int total)
        : TFormJobHost(form, std::move(outputFolder)), total_(total),
          previewBox_(form.imgLoader->size() * form.imgLoader->devicePixelRatio())
    {
        form_.ShowBatchProgress(0, total_);
    }
    ~TFormBatchHost() override { form_.ShowBatchProgress(0, 0); }

    TFormBatchHost(const TFormBatchHost&) = delete;
    TFormBatchHost& operator=(const TFormBatchHost&) = delete;

    void FileDone(const std::string&, const JobResult&) override { form_.ShowBatchProgress(++done_, total_); }
    void WhileWaiting() override { QCoreApplication::processEvents(); }
    // Pictures can wait for their turn in numbers, so each keeps no more than the preview
    // box can show. No full-size copy is made: scaling one cost about as much as the job.
    std::any KeepPicture(const Raster& picture, bool repaintNow) override
    {
        return KeptPicture{RasterToPreview(picture, previewBox_), repaintNow};
    }
    void ShowKeptPicture(std::any& kept) override
    {
        const auto& picture = std::any_cast<const KeptPicture&>(kept);
        form_.ShowPicture(picture.image, picture.repaintNow);
    }

private:
    struct KeptPicture {
        QImage image;
        bool repaintNow;
    };

    int total_;
    int done_ = 0;
    QSize previewBox_;
};

// The end steps of a job, run however the job ends (an error that escapes it included):
// Start enabled, Abort disabled, the normal cursor back and the time in the status bar.
// Closes the window afterwards when a close arrived during the last running job.
class TMainForm::TJobScope {
public:
    TJobScope(TMainForm& form, JobKind kind) : form_(form), kind_(kind), start_(TickCount())
    {
        ++form_.runningJobs_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }

    ~TJobScope()
    {
        form_.actStart->setEnabled(true);
        form_.actAbort->setEnabled(false);
        QApplication::restoreOverrideCursor();
        form_.SetStatusText(
            QString::fromStdString(JobDoneText(kind_, elapsed_.value_or(TickCount() - start_))));
        if (--form_.runningJobs_ == 0 && form_.closeAfterJobs_) {
            form_.closeAfterJobs_ = false;
            form_.close();
        }
    }

    TJobScope(const TJobScope&) = delete;
    TJobScope& operator=(const TJobScope&) = delete;

    void SetElapsed(std::uint32_t milliseconds) { elapsed_ = milliseconds; }

private:
    TMainForm& form_;
    JobKind kind_;
    std::uint32_t start_;
    std::optional<std::uint32_t> elapsed_;
};

void TMainForm::ConnectBatchCommands()
{
    connect(actStart, &QAction::triggered, this, Reporting(this, &TMainForm::actStartExecute));
    connect(actAbort, &QAction::triggered, this, Reporting(this, &TMainForm::actAbortExecute));
    connect(trkQuality, &QSlider::valueChanged, this,
            [this] { RunReportingErrors([this] { trkQualityChange(); }); });
    connect(btnResult, &QPushButton::clicked, this, Reporting(this, &TMainForm::btnResultClick));
    connect(actCopyCommand, &QAction::triggered, this, Reporting(this, &TMainForm::actCopyCommandExecute));
    FileList->OnDblClick = [this](QObject*) { RunReportingErrors([this] { FileListDblClick(); }); };
    tabResizer->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The resizer page's Start button is the window's default button: Enter in a control
    // of the page that does not use the key itself (an edit field, a radio button, the
    // slider) reaches the page and runs Start. Buttons answer Enter themselves.
    if (watched == tabResizer && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            actStart->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

JobOptions TMainForm::CurrentJobOptions() const
{
    JobOptions options;
    options.preview = chkPreview->isChecked();
    options.protect = chkProtect->isChecked();
    options.quality = trkQuality->value();
    for (const auto& [radio, rule] : RuleButtons())
        if (radio->isChecked()) options.size.rule = rule;
    options.size.round = spnRound->Value();
    options.size.zecimal = spnZecimal->Value();
    options.size.width = spnWidth->Value();
    options.size.height = spnHeight->Value();
    options.size.wh = spnWH->Value();
    options.size.fitWidth = spnFitWidth->Value();
    options.size.fitHeight = spnFitHeight->Value();
    options.size.percent = spnPercent->Value();
    options.size.noEnlarge = chkNoEnlarge->isChecked();
    options.addFilterName = chkAddFltName->isChecked();
    options.filterIndex = cmbResampleQ->currentIndex();
    options.overwrite = chkOverwrite->isChecked();
    options.autoOrient = chkAutoOrient->isChecked();
    options.toSrgb = chkToSrgb->isChecked();
    options.keepMetadata = chkKeepMetadata->isChecked();
    options.stripGps = chkStripGps->isChecked();
    options.format = ChosenOutputFormat();
    options.lossless = chkLossless->isChecked();
    options.optimize = chkOptimize->isChecked();
    options.progressive = chkProgressive->isChecked();
    if (chkMaxSize->isChecked() && !OutputIsLossless()) options.maxSizeKB = spnMaxSize->Value();
    return options;
}

void TMainForm::AppendLog(const std::string& line)
{
    // Every line ends in a line break, so that empty lines count as lines even at the top
    // of an empty log; a last line the person typed without one is ended first.
    QTextCursor cursor(Memo->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty()) cursor.insertBlock();
    cursor.insertText(QString::fromStdString(line));
    cursor.insertBlock();
    Memo->setTextCursor(cursor);
}

void TMainForm::RemoveGreeting()
{
    if (Memo->toPlainText() == Greeting()) Memo->clear();
}

void TMainForm::WriteJobHeader(JobKind kind)
{
    RemoveGreeting();
    for (const std::string& line : JobHeaderLines(kind, std::time(nullptr))) AppendLog(line);
}

void TMainForm::FocusListEntry(const std::string& name)
{
    // The name is looked up literally: a "*" or "?" in it is part of the name.
    if (FileExists(AddTrailingBackslash(FileList->Folder()) + name)) FileList->SetCurrentFileName(name);
}

void TMainForm::ShowPicture(const QImage& picture, bool repaintNow)
{
    imgLoader->SetPicture(picture);
    if (repaintNow) imgLoader->repaint();
}

void TMainForm::actStartExecute()
{
    // A batch on several cores lets window messages through while it waits; a second job
    // started there would mix its lines into the first's.
    if (concurrentBatchRunning_) return;
    actAbort->setEnabled(true);
    AbortRequested = false;
    imgLoader->SetFitToBox(true);
    trkQualityChange();
    if (FileList->ItemCount() == 0) {
        ShowWarningMessage("No pictures to process");
        return;
    }
    if (FileList->SelectedCount() == 0) ShowWarningMessage("Please select the file(s) you want to resize!");

    edtPath->setText(QString::fromStdString(AddTrailingBackslash(edtPath->text().toStdString())));
    const std::string outputFolder = OutputFolder();
    ForceDirectories(outputFolder);
    RemoveGreeting();

    std::vector<std::string> names;
    for (int index = 0; index < FileList->ItemCount(); ++index)
        if (FileList->ItemSelected(index)) names.push_back(FileList->ItemText(index));
    // A folder of the tree that cannot be made shows up as a failed save of each of its
    // pictures.
    std::set<std::string> subfolders;
    for (const std::string& name : names) subfolders.insert(ExtractFilePath(name));
    for (const std::string& subfolder : subfolders)
        if (!subfolder.empty()) ForceDirectories(outputFolder + subfolder);

    TJobScope scope(*this, JobKind::Batch);
    TFormBatchHost host(*this, outputFolder, static_cast<int>(names.size()));
    if (!chkAllCores->isChecked()) {
        scope.SetElapsed(RunBatch(names, host).elapsedMilliseconds);
        return;
    }
    const QScopedValueRollback running(concurrentBatchRunning_, true);
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    scope.SetElapsed(RunBatchConcurrently(names, host, cores).elapsedMilliseconds);
}

void TMainForm::ShowBatchProgress(int done, int total)
{
    lblBatchProgress->setVisible(total > 0);
    proBatch->setVisible(total > 0);
    if (total == 0) {
        taskBarProgress_.Hide();
        return;
    }
    lblBatchProgress->setText(
        QStringLiteral("Resizing picture %1 of %2").arg(std::min(done + 1, total)).arg(total));
    proBatch->setRange(0, total);
    proBatch->setValue(done);
    taskBarProgress_.Show(static_cast<double>(done) / total);
}

void TMainForm::FileListDblClick()
{
    if (concurrentBatchRunning_) return;
    AbortRequested = false;
    imgLoader->SetFitToBox(true);
    trkQualityChange();
    if (FileList->SelectedCount() == 0) ShowWarningMessage("Please select the file(s) you want to resize!");

    const std::string outputFolder = OutputFolder() + ExtractFilePath(FileList->CurrentFileName());
    ForceDirectories(outputFolder);
    const std::string path = FileList->CurrentFilePath();
    if (!FileExistsMsg(path)) return;
    WriteJobHeader(JobKind::SingleImage);

    TJobScope scope(*this, JobKind::SingleImage);
    TFormJobHost host(*this, outputFolder);
    const JobResult result = ProcessImage(path, outputFolder, CurrentJobOptions(), host);
    if (!result.SavedPath.empty()) AppendLog(kSavedLinePrefix + result.SavedPath);
}

void TMainForm::actAbortExecute()
{
    AbortRequested = true;
}

void TMainForm::btnResultClick()
{
    OpenWithShell(OutputFolder());
}

void TMainForm::actCopyCommandExecute()
{
    // The pictures' paths as Start builds them, so that the command resizes what Start would.
    const std::string folder = AddTrailingBackslash(edtPath->text().toStdString());
    std::vector<std::string> pictures;
    for (int index = 0; index < FileList->ItemCount(); ++index)
        if (FileList->ItemSelected(index)) pictures.push_back(folder + FileList->ItemText(index));
    if (pictures.empty()) {
        ShowWarningMessage("Please select the file(s) you want to resize!");
        return;
    }
    // Without a chosen folder the command line's default is the window's: "Output" beside
    // the pictures. A tree's outputs keep its folders, which the command line does below
    // a folder it is given.
    const bool tree = FileList->Subfolders();
    const std::string chosenFolder = edtOutFolder->text().isEmpty() && !tree ? std::string() : OutputFolder();
    QGuiApplication::clipboard()->setText(QString::fromStdString(
        ResizeCommandText(CurrentJobOptions(), pictures, chosenFolder, tree ? folder : std::string())));
}

void TMainForm::trkQualityChange()
{
    const int quality = trkQuality->value();
    proBar->setValue(static_cast<int>(RoundHalfEven(quality * (quality / 50.0 + 1))) + 20);
    lblQuality2->setText(QString::number(quality));
    SetStatusText(QString::number(quality));
    AbortRequested = false;
    actStart->setEnabled(true);
}

}  // namespace selvane
