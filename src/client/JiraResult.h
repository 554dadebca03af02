#pragma once
// The outcome of a Jira operation or a decoding: a value or a JiraError, never both.

#include "JiraError.h"

#include <utility>
#include <variant>

template<typename T> class JiraResult
{
public:
    JiraResult(T value)
        : m_state(std::in_place_index<0>, std::move(value))
    { }
    JiraResult(JiraError error)
        : m_state(std::in_place_index<1>, std::move(error))
    { }

    [[nodiscard]] bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    [[nodiscard]] const T &value() const & { return std::get<0>(m_state); }
    [[nodiscard]] T &&value() && { return std::get<0>(std::move(m_state)); }
    // Only when !ok().
    [[nodiscard]] const JiraError &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, JiraError> m_state;
};

template<> class JiraResult<void>
{
public:
    JiraResult() = default;
    JiraResult(JiraError error)
        : m_error(std::move(error))
        , m_failed(true)
    { }

    [[nodiscard]] bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const JiraError &error() const { return m_error; }

private:
    JiraError m_error = JiraError::notConfigured();
    bool m_failed = false;
};
