#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace shelvio {

// What went wrong in the store, with the cause in words for the user. "Not
// found" (a book or category that another program deleted meanwhile) is told
// apart from a failure: the first is an answer, the second is not.
class Error {
public:
    enum class Kind { Failed, NotFound };

    static Error failed(QString cause) { return Error(Kind::Failed, std::move(cause)); }
    static Error notFound(QString what = {}) { return Error(Kind::NotFound, std::move(what)); }

    Kind kind() const { return m_kind; }
    bool isNotFound() const { return m_kind == Kind::NotFound; }
    const QString& text() const { return m_text; }

private:
    Error(Kind kind, QString text)
        : m_kind(kind)
        , m_text(std::move(text))
    {
    }

    Kind m_kind;
    QString m_text;
};

// A value, or the error that stands in its place.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Error error)
        : m_error(std::move(error))
    {
    }

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    bool isNotFound() const { return !ok() && m_error.isNotFound(); }

    const T& operator*() const& { return *m_value; }
    T& operator*() & { return *m_value; }
    T&& operator*() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    T* operator->() { return &*m_value; }
    T value_or(T other) const { return m_value.value_or(std::move(other)); }
    // Moves the value out and leaves none behind: for a value that must be
    // the only one of its kind, such as a database connection.
    T take()
    {
        T value = std::move(*m_value);
        m_value.reset();
        return value;
    }

    // Only meaningful when there is no value.
    const Error& error() const { return m_error; }

private:
    std::optional<T> m_value;
    Error m_error = Error::failed({});
};

// Success, or the error why not.
template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error)
        : m_ok(false)
        , m_error(std::move(error))
    {
    }

    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    bool isNotFound() const { return !m_ok && m_error.isNotFound(); }
    const Error& error() const { return m_error; }

private:
    bool m_ok = true;
    Error m_error = Error::failed({});
};

using Status = Result<void>;

} // namespace shelvio
