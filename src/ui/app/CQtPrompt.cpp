#include "app/CQtPrompt.h"

#include "QtConvert.h"

#include <QMessageBox>
#include <vector>

EPromptAnswer CQtPrompt::Ask(std::string_view text, std::string_view caption, EPromptButtons buttons, EPromptIcon icon,
                             int defaultButton) {
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.empty() ? QStringLiteral("Quillbox") : ToQ(caption));
    box.setText(ToQMessage(text));
    switch (icon) {
    case EPromptIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case EPromptIcon::Information: box.setIcon(QMessageBox::Information); break;
    case EPromptIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case EPromptIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case EPromptIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    std::vector<std::pair<QMessageBox::StandardButton, EPromptAnswer>> set;
    switch (buttons) {
    case EPromptButtons::Ok: set = {{QMessageBox::Ok, EPromptAnswer::Ok}}; break;
    case EPromptButtons::OkCancel:
        set = {{QMessageBox::Ok, EPromptAnswer::Ok}, {QMessageBox::Cancel, EPromptAnswer::Cancel}};
        break;
    case EPromptButtons::YesNo:
        set = {{QMessageBox::Yes, EPromptAnswer::Yes}, {QMessageBox::No, EPromptAnswer::No}};
        break;
    case EPromptButtons::YesNoCancel:
        set = {{QMessageBox::Yes, EPromptAnswer::Yes},
               {QMessageBox::No, EPromptAnswer::No},
               {QMessageBox::Cancel, EPromptAnswer::Cancel}};
        break;
    }
    QMessageBox::StandardButtons all;
    for (const auto& b : set) all |= b.first;
    box.setStandardButtons(all);
    if (defaultButton >= 0 && std::size_t(defaultButton) < set.size())
        box.setDefaultButton(set[std::size_t(defaultButton)].first);
    // Closing the box with Esc or the title bar counts as its cancel button, or as No.
    const auto pressed = QMessageBox::StandardButton(box.exec());
    for (const auto& b : set)
        if (b.first == pressed) return b.second;
    if (buttons == EPromptButtons::YesNo) return EPromptAnswer::No;
    return buttons == EPromptButtons::Ok ? EPromptAnswer::Ok : EPromptAnswer::Cancel;
}
