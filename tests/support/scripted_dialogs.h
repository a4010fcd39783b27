#pragma once

#include "ui/window/dialogs.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace ferolan::testing {

// Answers message boxes and file dialogs from a script and records what was shown.
class ScriptedDialogs final : public Dialogs {
public:
    std::deque<Answer> answers;               // for Yes/No boxes, in order
    std::deque<FileChoice> fileChoices;       // for file dialogs, in order
    QList<FileRequest> fileRequests;          // every file dialog shown, in order
    std::deque<std::optional<QString>> texts; // for typed lines, in order; none cancels
    int unanswered = 0;                       // questions or dialogs the script had no answer for
    // What the user saw and did, one entry each, in order: boxes, file dialogs, beeps,
    // addresses opened, the end of the program.
    QStringList events;

    Answer showMessage(QWidget *owner, const Message &message) override;
    FileChoice chooseFile(QWidget *owner, const FileRequest &request) override;
    std::optional<QString> askText(QWidget *owner, const QString &title,
                                   const QString &label) override;
};

class RecordingDesktop final : public Desktop {
public:
    explicit RecordingDesktop(QStringList &events) : events_(events) {}
    bool ended = false;
    bool urlsOpen = true; // false: the desktop has nothing that opens an address

    void beep() override { events_ << QStringLiteral("beep"); }
    bool openUrl(const QUrl &url) override {
        events_ << "open " + url.toString();
        return urlsOpen;
    }
    void copyToClipboard(const QString &text) override { events_ << "clipboard " + text; }
    void endProgram() override {
        ended = true;
        events_ << QStringLiteral("end");
    }

private:
    QStringList &events_;
};

} // namespace ferolan::testing
