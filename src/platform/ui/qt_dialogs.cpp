#include "platform/ui/qt_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpacerItem>
#include <QUrl>
#include <cstdio>
#include <memory>

#include "platform/atomic_file.h"

namespace sq {

namespace {
QString titleOf(const std::string& title) {
    return title.empty() ? QStringLiteral("Sonoquant") : QString::fromStdString(title);
}
QWidget* parentWindow() {
    return QApplication::activeWindow();
}

// A window manager cuts a title that its frame is too narrow for ("So...ant"), and a box with a
// short text is narrow: the box is made wide enough for its title in a bold face beside the
// frame's buttons.
void keepTitleWhole(QMessageBox& box) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleButtonsRoom;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
                  1, grid->columnCount());
}
}  // namespace

std::unique_ptr<QMessageBox> makeMessageBox(const MessageRequest& request) {
    auto owned = std::make_unique<QMessageBox>(parentWindow());
    QMessageBox& box = *owned;
    box.setWindowTitle(titleOf(request.title));
    box.setText(QString::fromStdString(request.text));
    switch (request.icon) {
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    using B = QMessageBox::StandardButton;
    QMessageBox::StandardButtons buttons;
    switch (request.buttons) {
        case MsgButtons::OK:
            buttons = B::Ok;
            break;
        case MsgButtons::OKCancel:
            buttons = B::Ok | B::Cancel;
            break;
        case MsgButtons::AbortRetryIgnore:
            buttons = B::Abort | B::Retry | B::Ignore;
            break;
        case MsgButtons::YesNoCancel:
            buttons = B::Yes | B::No | B::Cancel;
            break;
        case MsgButtons::YesNo:
            buttons = B::Yes | B::No;
            break;
        case MsgButtons::RetryCancel:
            buttons = B::Retry | B::Cancel;
            break;
    }
    box.setStandardButtons(buttons);
    keepTitleWhole(box);
    return owned;
}

MsgResult QtDialogs::message(const MessageRequest& request) {
    const std::unique_ptr<QMessageBox> owned = makeMessageBox(request);
    QMessageBox& box = *owned;
    using B = QMessageBox::StandardButton;
    switch (box.exec()) {
        case B::Cancel:
            return MsgResult::Cancel;
        case B::Abort:
            return MsgResult::Abort;
        case B::Retry:
            return MsgResult::Retry;
        case B::Ignore:
            return MsgResult::Ignore;
        case B::Yes:
            return MsgResult::Yes;
        case B::No:
            return MsgResult::No;
        default:
            return request.buttons == MsgButtons::OK
                       ? MsgResult::OK
                       : (box.clickedButton() ? MsgResult::OK : MsgResult::Cancel);
    }
}

std::optional<std::string> QtDialogs::input(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(parentWindow(), titleOf(title), QString::fromStdString(prompt),
                                         QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::string qtFilterFromClassic(const std::string& classic) {
    QStringList parts = QString::fromStdString(classic).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        out << (label.contains('(') ? label : label + " (" + pattern + ")");
    }
    return out.join(";;").toStdString();
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
    QString dir = QString::fromStdString(request.initialDir);
    if (!request.fileName.empty()) dir += "/" + QString::fromStdString(request.fileName);
    QString path = QFileDialog::getOpenFileName(parentWindow(), QString::fromStdString(request.title), dir,
                                                QString::fromStdString(qtFilterFromClassic(request.filter)));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
    auto answer = saveFileAs(request);
    if (!answer) return std::nullopt;
    return answer->path;
}

// The dialog asks before it overwrites a file, and adds no extension to the name typed.
std::optional<SaveFileAnswer> QtDialogs::saveFileAs(const FileDialogRequest& request) {
    QString dir = QString::fromStdString(request.initialDir);
    if (!request.fileName.empty()) dir += "/" + QString::fromStdString(request.fileName);
    const QStringList filters =
        QString::fromStdString(qtFilterFromClassic(request.filter)).split(";;", Qt::SkipEmptyParts);
    QString selected = filters.value(request.filterIndex - 1, filters.value(0));
    QString path = QFileDialog::getSaveFileName(parentWindow(), QString::fromStdString(request.title), dir,
                                                filters.join(";;"), &selected);
    if (path.isEmpty()) return std::nullopt;
    const auto index = filters.indexOf(selected);
    return SaveFileAnswer{path.toStdString(), index < 0 ? 1 : static_cast<int>(index) + 1};
}

namespace {

// The print dialog's button box, the one with its OK.
QDialogButtonBox* okButtons(QPrintDialog& dialog) {
    for (auto* buttons : dialog.findChildren<QDialogButtonBox*>())
        if (buttons->button(QDialogButtonBox::Ok)) return buttons;
    return nullptr;
}

// The file the dialog prints to for the name typed: as Qt's dialog takes it, a relative name is
// taken from the home folder.
std::string outputPathOf(const QLineEdit& fileName) {
    const QString name = fileName.text();
    return (QDir::isRelativePath(name) ? QDir::homePath() + QLatin1Char('/') + name : name).toStdString();
}

// The program's check of the output file, which only looks at the name: a name no write would
// replace is refused saying why, and a file that is there is replaced only when the user says so.
bool outputFileMayBeWritten(const QPrintDialog& dialog, const std::string& path) {
    if (const int error = writeTargetError(path)) {
        dialogs().message({path + "\n" + fileErrorText(error), MsgButtons::OK, MsgIcon::Exclamation, {}});
        return false;
    }
    if (isMissing(path)) return true;
    const QString question = QPrintDialog::tr("%1 already exists.\nDo you want to overwrite it?")
                                 .arg(QString::fromStdString(path));
    return dialogs().message({question.toStdString(), MsgButtons::YesNo, MsgIcon::Question,
                              dialog.windowTitle().toStdString()}) == MsgResult::Yes;
}

}  // namespace

bool takeOverPrintToFileCheck(QPrintDialog& dialog) {
    QPrintDialog* const printDialog = &dialog;
    auto* fileName = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    QDialogButtonBox* buttons = okButtons(dialog);
    if (!fileName || !buttons ||
        !QObject::disconnect(buttons, SIGNAL(accepted()), printDialog, SLOT(_q_checkFields()))) {
        std::fprintf(stderr, "%s\n",
                     "The print dialog's own check of the output file could not be replaced: it opens the "
                     "file, and a pipe of that name would hold the program up.");
        return false;
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, printDialog, [printDialog, fileName] {
        // The name is used only while printing to a file is chosen; a printer keeps Qt's check.
        if (!fileName->isEnabled()) {
            QMetaObject::invokeMethod(printDialog, "_q_checkFields");
            return;
        }
        // Qt's own accept, which gives the printer the dialog's settings.
        if (outputFileMayBeWritten(*printDialog, outputPathOf(*fileName))) printDialog->accept();
    });
    return true;
}

std::unique_ptr<QPrintDialog> makePrintDialog(QPrinter& printer) {
    auto owned = std::make_unique<QPrintDialog>(&printer, parentWindow());
    takeOverPrintToFileCheck(*owned);
    return owned;
}

std::optional<PrinterChoice> QtDialogs::choosePrinter() {
    QPrinter printer(QPrinter::HighResolution);
    const std::unique_ptr<QPrintDialog> owned = makePrintDialog(printer);
    QPrintDialog& dialog = *owned;
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    PrinterChoice choice;
    choice.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                             ? PrinterChoice::Orientation::Landscape
                             : PrinterChoice::Orientation::Portrait;
    choice.copies = printer.copyCount();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        choice.outputFile = printer.outputFileName().toStdString();
    else
        choice.printerName = printer.printerName().toStdString();
    choice.paperSize = printer.pageLayout().pageSize().key().toStdString();
    return choice;
}

bool QtDialogs::openWithViewer(const std::string& pathOrUrl) {
    QString s = QString::fromStdString(pathOrUrl);
    QUrl url = s.contains("://") ? QUrl(s) : QUrl::fromLocalFile(s);
    return QDesktopServices::openUrl(url);
}

}  // namespace sq
