#include "scripted_dialogs.h"

namespace ferolan::testing {

Answer ScriptedDialogs::showMessage(QWidget *, const Message &message) {
    messages.append(message);
    if (onMessage)
        onMessage(message);
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
    if (fileChoices.empty()) {
        ++unanswered;
        return {false, request.fileName};
    }
    FileChoice choice = fileChoices.front();
    fileChoices.pop_front();
    if (!choice.accepted)
        choice.fileName = request.fileName;
    return choice;
}

QStringList ScriptedDialogs::texts() const {
    QStringList result;
    for (const Message &message : messages)
        result << message.text;
    return result;
}

} // namespace ferolan::testing
