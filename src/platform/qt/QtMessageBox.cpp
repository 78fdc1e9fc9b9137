// The program's message boxes: its title as caption, the first button as
// default, and Escape or the close box answering Cancel, No, or OK.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/Artwork.h"
#include "platform/qt/QtUi.h"

namespace tarnwk::qt {

platform::MessageResult QtUi::messageBox(std::string_view text, platform::MessageButtons buttons,
                                         platform::MessageIcon icon) {
    using platform::MessageButtons;
    using platform::MessageResult;
    flushAll();
    QMessageBox box;
    box.setWindowTitle(QApplication::applicationName());
    box.setWindowIcon(artworkIcon("icon"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    switch (icon) {
        case platform::MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case platform::MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case platform::MessageIcon::None:
            break;
    }
    QPushButton* first = nullptr;
    QPushButton* escape = nullptr;
    switch (buttons) {
        case MessageButtons::Ok:
            first = escape = box.addButton(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            first = box.addButton(QMessageBox::Ok);
            escape = box.addButton(QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            first = box.addButton(QMessageBox::Yes);
            escape = box.addButton(QMessageBox::No);
            break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(escape);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    switch (pressed) {
        case QMessageBox::Ok:
            return MessageResult::Ok;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        default:
            // Closed some other way: as Escape would answer.
            return buttons == MessageButtons::Ok      ? MessageResult::Ok
                   : buttons == MessageButtons::YesNo ? MessageResult::No
                                                      : MessageResult::Cancel;
    }
}

}  // namespace tarnwk::qt
