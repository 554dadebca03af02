#pragma once
// The server's rendered HTML as Qt rich text, the form QML Text and TextEdit show.

#include <QString>

#include <optional>

// The HTML as the QTextDocument HTML subset, or none when it cannot be converted: a text that is not
// valid UTF-16 (a lone surrogate), one that nests elements deeper than Qt can import and lay out in
// reasonable time (more than 8 tables inside each other, or more than 512 elements), or one that
// yields no characters at all. The input is taken as it is, with no markup added and nothing trimmed.
//
// The conversion resolves no resource: no image, style sheet or file is fetched or read, whatever the
// HTML names. Image sources stay in the result; whether they are loaded is the view's decision.
[[nodiscard]] std::optional<QString> attributedFromHTML(const QString &html);
