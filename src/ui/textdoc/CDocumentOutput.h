#pragma once

#include <QObject>
#include <QString>

#include <memory>

class CPrompt;
class CtavView;
class QPrinter;
class QTemporaryDir;
class QWidget;

// Print (57607), Print Preview (57609), Print Setup (57606) and Send mail (32040) of the text
// documents. One printer for the run, so Print Setup's choices hold for later prints; its
// margins start at 720 twips (half an inch) on every side.
class CDocumentOutput : public QObject {
    Q_OBJECT
public:
    CDocumentOutput(CPrompt& prompt, QWidget& owner);
    ~CDocumentOutput() override;

    static bool Handles(int id);
    // Print Setup needs no document; the others the active view.
    bool IsEnabled(int id, const CtavView* view) const;
    void Run(int id, CtavView* view);

    QPrinter& Printer();
    // Lays the view's text out on the printer's pages: plain text in the view's font, wrapped.
    void PrintView(const CtavView& view, QPrinter& printer) const;
    // Hands the view's document to `xdg-email --attach`: the file itself when it is saved, else
    // a copy of the text in a temporary folder that lives as long as this object. The program
    // is looked up in PATH; its failure is reported when it ends.
    void SendMail(CtavView& view);

private:
    CPrompt& m_prompt;
    QWidget& m_owner;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QTemporaryDir> m_mailDir;
};
