#include "scriptedprompter.h"

namespace testing {

void ScriptedPrompter::inform(const QString& text, const QString& title)
{
    m_prompts << Prompt{Prompt::Inform, text, title, Buttons::Ok, Answer::Ok};
}

shelvio::Prompter::Answer ScriptedPrompter::ask(const QString& text, const QString& title, Buttons buttons,
                                                Answer defaultButton)
{
    m_prompts << Prompt{Prompt::Ask, text, title, buttons, defaultButton};
    if (m_answers.isEmpty()) {
        // A question the test did not expect: count it and change nothing.
        ++m_unanswered;
        return Answer::Cancel;
    }
    return m_answers.takeFirst();
}

std::optional<QString> ScriptedPrompter::askText(const QString& prompt, const QString& title)
{
    m_prompts << Prompt{Prompt::AskText, prompt, title, Buttons::OkCancel, Answer::Ok};
    return m_texts.isEmpty() ? std::nullopt : m_texts.takeFirst();
}

void ScriptedPrompter::clear()
{
    m_prompts.clear();
    m_answers.clear();
    m_texts.clear();
    m_unanswered = 0;
}

} // namespace testing
