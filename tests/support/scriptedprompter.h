#pragma once

#include "prompter.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace testing {

// A prompter that answers from a script and records every prompt, for tests
// that drive the real windows.
class ScriptedPrompter : public shelvio::Prompter {
public:
    struct Prompt {
        enum Kind { Inform, Ask, AskText } kind;
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Answer defaultButton = Answer::Ok;
    };

    // Answers given in order to ask(); askText() takes from its own queue
    // (nothing queued there means Cancel).
    void queueAnswer(Answer answer) { m_answers << answer; }
    void queueText(const std::optional<QString>& text) { m_texts << text; }

    void inform(const QString& text, const QString& title) override;
    Answer ask(const QString& text, const QString& title, Buttons buttons, Answer defaultButton) override;
    std::optional<QString> askText(const QString& prompt, const QString& title) override;

    const QList<Prompt>& prompts() const { return m_prompts; }
    Prompt last() const { return m_prompts.isEmpty() ? Prompt{Prompt::Inform, {}, {}} : m_prompts.last(); }
    int unansweredQuestions() const { return m_unanswered; }
    int pendingAnswers() const { return int(m_answers.size() + m_texts.size()); }
    void clear();

private:
    QList<Prompt> m_prompts;
    QList<Answer> m_answers;
    QList<std::optional<QString>> m_texts;
    int m_unanswered = 0;
};

} // namespace testing
