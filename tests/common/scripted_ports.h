#pragma once

#include <QDate>
#include <deque>
#include <string>
#include <vector>

#include "widgets/ui_ports.h"

namespace testing_support {

// Records every message and answers every question from a script; an
// unscripted question is answered No, and noted so a test can fail on it.
class ScriptedPorts : public widgets::UiPorts {
public:
    void Inform(QWidget*, const QString& message) override { messages.push_back(message); }

    bool AskYesNo(QWidget*, const QString& message) override
    {
        questions.push_back(message);
        if (answers.empty()) {
            ++unscriptedQuestions;
            return false;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList ChooseFiles(QWidget*, const widgets::FileDialogRequest& request) override
    {
        fileRequests.push_back(request);
        if (fileChoices.empty())
            return {};
        QStringList chosen = fileChoices.front();
        fileChoices.pop_front();
        return chosen;
    }

    bool OpenWithAssociatedProgram(const QString& path) override
    {
        opened.push_back(path);
        return openSucceeds;
    }

    QDate Today() override { return today; }
    bool EscapePressed() override { return escapeAfter >= 0 && escapeChecks++ >= escapeAfter; }
    void ResetEscape() override { escapeChecks = 0; }

    QString lastMessage() const { return messages.empty() ? QString() : messages.back(); }

    std::vector<QString> messages;
    std::vector<QString> questions;
    std::deque<bool> answers;
    int unscriptedQuestions = 0;
    std::deque<QStringList> fileChoices;
    std::vector<widgets::FileDialogRequest> fileRequests;
    std::vector<QString> opened;
    bool openSucceeds = true;
    QDate today{2024, 4, 1};
    int escapeAfter = -1;  // Esc seen from this many checks on; -1 never
    int escapeChecks = 0;
};

}  // namespace testing_support
