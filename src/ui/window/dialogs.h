#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QWidget;

// Every message box, file dialog and desktop service goes through these two small
// interfaces, so that a test can answer them and walk a whole job without a person.
namespace ferolan {

inline const QString kApplicationTitle = QStringLiteral("Ferolan");

enum class MessageIcon { None, Critical, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Message {
    QString text;                 // lines separated by "\n"
    std::optional<QString> title; // none: the application title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The button Enter presses in a Yes/No box.
    Answer defaultAnswer = Answer::Yes;
};

struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;      // description and pattern pairs joined by "|"
    int filterIndex = 1; // 1-based
    QString fileName;
    QString startFolder;
};

struct FileChoice {
    bool accepted = false;
    QString fileName;    // on cancel, the name the caller set
    int filterIndex = 0; // 1-based: the filter shown when the file was chosen; 0 when unknown
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Blocks until answered. Only an explicit No cancels, even where No is the default
    // button.
    virtual Answer showMessage(QWidget *owner, const Message &message) = 0;
    virtual FileChoice chooseFile(QWidget *owner, const FileRequest &request) = 0;
    // A line the user types; nothing when cancelled.
    virtual std::optional<QString> askText(QWidget *owner, const QString &title,
                                           const QString &label) = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void beep() = 0;
    // Hands the address to the desktop; false when nothing could open it.
    virtual bool openUrl(const QUrl &url) = 0;
    // Puts the text on the system clipboard, for pasting into another program.
    virtual void copyToClipboard(const QString &text) = 0;
    // Ends the program at once: every window closes, nothing is asked or saved. The caller
    // returns straight after.
    virtual void endProgram() = 0;
};

class QtDialogs final : public Dialogs {
public:
    Answer showMessage(QWidget *owner, const Message &message) override;
    FileChoice chooseFile(QWidget *owner, const FileRequest &request) override;
    std::optional<QString> askText(QWidget *owner, const QString &title,
                                   const QString &label) override;
};

class QtDesktop final : public Desktop {
public:
    void beep() override;
    bool openUrl(const QUrl &url) override;
    void copyToClipboard(const QString &text) override;
    void endProgram() override;
};

} // namespace ferolan
