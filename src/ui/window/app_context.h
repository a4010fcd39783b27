#pragma once

#include "core/platform.h"
#include "job/module1.h"
#include "ui/window/dialogs.h"

#include <QPointer>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <functional>

namespace ferolan {

// What every window of one run shares: the shared state, the program folder, the dialog
// and desktop services, and which of the program's own windows was active last.
struct AppContext {
    Module1 &state;
    std::filesystem::path programFolder;
    Dialogs &dialogs;
    Desktop &desktop;
    char decimalSeparator = '.';
    QPointer<QWidget> lastActiveForm = nullptr;
    // Today's date: the header's default and the day after which a booklet date is doubtful.
    std::function<std::chrono::year_month_day()> today = platform::localToday;

    // True when `form` becomes active coming from another of the program's windows (or at
    // start): message boxes and other programs do not count as leaving it.
    bool enterForm(QWidget *form) {
        bool returned = lastActiveForm != form;
        lastActiveForm = form;
        return returned;
    }

    // Shows a message with the given text, icon and buttons.
    Answer ask(QWidget *owner, const QString &text, const std::optional<QString> &title,
               MessageButtons buttons = MessageButtons::YesNo, MessageIcon icon = MessageIcon::None,
               Answer defaultAnswer = Answer::Yes) {
        return dialogs.showMessage(owner, {text, title, icon, buttons, defaultAnswer});
    }
    void tell(QWidget *owner, const QString &text, const std::optional<QString> &title,
              MessageIcon icon) {
        dialogs.showMessage(owner, {text, title, icon, MessageButtons::Ok});
    }
};

} // namespace ferolan
