#include "scripted_dialogs.h"

namespace ferolan::testing {

namespace {
const char *const kIcons[] = {"", " (critica)", " (esclamativa)", " (informativa)"};
} // namespace

Answer ScriptedDialogs::showMessage(QWidget *, const Message &message) {
    QString box =
        "box \"" + message.title.value_or(QStringLiteral("-")) + "\"" + kIcons[int(message.icon)];
    if (message.buttons == MessageButtons::YesNo)
        box += message.defaultAnswer == Answer::No ? " [Sì] [*No]" : " [*Sì] [No]";
    events << box + "\n  " + QString(message.text).replace('\n', QStringLiteral("\n  "));
    if (message.buttons == MessageButtons::Ok)
        return Answer::Ok;
    if (answers.empty()) {
        ++unanswered;
        return Answer::No;
    }
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

FileChoice ScriptedDialogs::chooseFile(QWidget *, const FileRequest &request) {
    fileRequests.append(request);
    events << QStringLiteral("file %1 \"%2\" \"%3\" %4 \"%5\" in \"%6\"")
                  .arg(request.mode == FileRequest::Mode::Save ? "save" : "open", request.title,
                       request.filter)
                  .arg(request.filterIndex)
                  .arg(request.fileName, request.startFolder);
    if (fileChoices.empty()) {
        ++unanswered;
        return {false, request.fileName};
    }
    FileChoice choice = fileChoices.front();
    fileChoices.pop_front();
    if (!choice.accepted)
        choice.fileName = request.fileName;
    if (choice.filterIndex == 0)
        choice.filterIndex = request.filterIndex;
    return choice;
}

std::optional<QString> ScriptedDialogs::askText(QWidget *, const QString &title,
                                                const QString &label) {
    events << "text \"" + title + "\" " + label;
    if (texts.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    std::optional<QString> text = texts.front();
    texts.pop_front();
    return text;
}

} // namespace ferolan::testing
