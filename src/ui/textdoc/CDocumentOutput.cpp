#include "textdoc/CDocumentOutput.h"

#include "QtConvert.h"
#include "app/CommandTable.h"
#include "app/Ports.h"
#include "app/TextUtil.h"
#include "textdoc/CtavDoc.h"
#include "textdoc/CtavView.h"
#include "textdoc/SendMail.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

constexpr double kMarginMillimetres = 12.7; // 720 twips

} // namespace

CDocumentOutput::CDocumentOutput(CPrompt& prompt, QWidget& owner) : QObject(&owner), m_prompt(prompt), m_owner(owner) {}

CDocumentOutput::~CDocumentOutput() = default;

bool CDocumentOutput::Handles(int id) {
    return id == kIdFilePrint || id == kIdFilePrintPreview || id == kIdFilePrintSetup || id == kIdSendMail;
}

bool CDocumentOutput::IsEnabled(int id, const CtavView* view) const { return id == kIdFilePrintSetup || view; }

QPrinter& CDocumentOutput::Printer() {
    if (!m_printer) {
        // Screen resolution: the text layout counts block margins and indents in device pixels,
        // which only at this resolution are the twips / 15 the RTF gave.
        m_printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        m_printer->setPageMargins(
            QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
            QPageLayout::Millimeter);
    }
    return *m_printer;
}

void CDocumentOutput::PrintView(const CtavView& view, QPrinter& printer) const {
    // A copy with the page layout: the view's own text keeps its screen layout and no-wrap.
    std::unique_ptr<QTextDocument> copy(view.document()->clone());
    if (view.Document()->Kind() != CtavDoc::kRtfDocument) copy->setDefaultFont(view.font());
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    // Laid out on the page's printable area, the document prints within the printer's margins
    // alone; unpaginated, QTextDocument would add two centimetres of its own.
    copy->setDocumentMargin(0);
    copy->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
    copy->print(&printer);
}

void CDocumentOutput::Run(int id, CtavView* view) {
    if (id == kIdFilePrintSetup) {
        QPageSetupDialog dlg(&Printer(), &m_owner);
        dlg.exec();
        return;
    }
    if (!view) return;
    QPrinter& printer = Printer();
    printer.setDocName(view->Document()->Title());
    if (id == kIdFilePrint) {
        QPrintDialog dlg(&printer, &m_owner);
        if (dlg.exec() == QDialog::Accepted) PrintView(*view, printer);
    } else if (id == kIdFilePrintPreview) {
        QPrintPreviewDialog dlg(&printer, &m_owner);
        dlg.setObjectName(QStringLiteral("printPreview"));
        connect(&dlg, &QPrintPreviewDialog::paintRequested, this, [this, view](QPrinter* p) { PrintView(*view, *p); });
        dlg.exec();
    } else if (id == kIdSendMail) {
        SendMail(*view);
    }
}

void CDocumentOutput::SendMail(CtavView& view) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty()) {
        m_prompt.Message(MailFailureText(EMailFailure::NoMailProgram));
        return;
    }
    CtavDoc& doc = *view.Document();
    QString file = ToQPath(doc.Path());
    if (doc.Path().empty() || doc.Text()->isModified()) {
        // What is on the screen goes out, saved or not, under the document's own name.
        if (!m_mailDir) m_mailDir = std::make_unique<QTemporaryDir>();
        const bool rich = doc.Kind() == CtavDoc::kRtfDocument;
        QString name = doc.Title();
        if (doc.Path().empty()) name += rich ? QStringLiteral(".rtf") : QStringLiteral(".txt");
        file = m_mailDir->isValid() ? m_mailDir->filePath(name) : QString();
        const std::string bytes = rich ? doc.RtfBytes() : doc.Bytes().value_or(doc.BytesAsUtf8());
        QFile out(file);
        if (file.isEmpty() || !out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.flush()) {
            m_prompt.Message(MailFailureText(EMailFailure::NoCopy));
            return;
        }
    }
    // No parent: the mail program may outlive the window, and a QProcess being destroyed would
    // kill it. The process object goes once the program ends.
    auto* mail = new QProcess;
    connect(mail, &QProcess::errorOccurred, this, [this, mail](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart) return;
        m_prompt.Message(MailFailureText(EMailFailure::NotSent));
        mail->deleteLater();
    });
    connect(mail, &QProcess::finished, this, [this, mail](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0) m_prompt.Message(MailFailureText(EMailFailure::NotSent));
        mail->deleteLater();
    });
    mail->start(program, {QStringLiteral("--attach"), QFileInfo(file).absoluteFilePath()});
}
