#pragma once

#include <QString>

class QWidget;

namespace shelvio::reports {

// The report program's messages to the user, behind one interface so that
// tests can record them instead of showing a box.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void error(const QString& text, const QString& title) = 0;
};

// A message box with an OK button and no icon.
class DialogMessages : public Messages {
public:
    explicit DialogMessages(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    void error(const QString& text, const QString& title) override;

private:
    QWidget* m_parent;
};

} // namespace shelvio::reports
