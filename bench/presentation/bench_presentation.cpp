// Times what the list and the detail pane pay on each refresh: relative phrases for a full list of
// 100 rows, and one large issue description converted to rich text. Prints time per operation.

#include "presentation/HtmlText.h"
#include "presentation/RelativeTime.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `work` until at least `minimumMs` have passed and returns nanoseconds per run.
double nsPerRun(const std::function<void()> &work, qint64 minimumMs, int *runs)
{
    work(); // warm-up: shared formatters and font set-up are paid once, not per row
    QElapsedTimer timer;
    timer.start();
    int count = 0;
    do {
        work();
        ++count;
    } while (timer.elapsed() < minimumMs);
    *runs = count;
    return double(timer.nsecsElapsed()) / count;
}

// The `updated` texts of a list of 100 issues, spread over the last three months, with the offsets
// servers in different zones send, and a few bare days as in due dates.
QStringList updatedTexts(const QDateTime &now)
{
    QRandomGenerator random(42);
    const QStringList offsets {u"+0000"_s, u"+0100"_s, u"+0530"_s, u"-0500"_s, u"-0800"_s};
    QStringList texts;
    for (int row = 0; row < 100; ++row) {
        const QDateTime when = now.addSecs(-qint64(random.bounded(90 * 24 * 3600)));
        if (row % 10 == 9) {
            texts << when.date().toString(Qt::ISODate);
            continue;
        }
        const QString offset = offsets.at(row % offsets.size());
        texts << when.toString(u"yyyy-MM-dd'T'HH:mm:ss.zzz"_s) + offset;
    }
    return texts;
}

// A long Jira description as the server renders it: headings, paragraphs with links and marks,
// lists, code panels, tables and non-ASCII text, repeated to at least `bytes` of UTF-8.
QString jiraDescription(qsizetype bytes)
{
    QString html;
    for (int section = 1; html.toUtf8().size() < bytes; ++section) {
        html += u"<h2><a name=\"Section%1\"></a>Section %1: Überblick</h2>"_s.arg(section);
        html += u"<p>The <b>import job</b> fails when the feed contains <em>naïve</em> dates; see "
                "<a href=\"https://jira.example.com/browse/OPS-%1\" class=\"issue-link\">OPS-%1</a> and the "
                "<a href=\"https://wiki.example.com/display/ENG/Import+runbook\">runbook</a>. Temperature "
                "readings of 23&nbsp;°C were reported for Zürich, Kraków and 東京.</p>"_s.arg(1000 + section);
        html += u"<ul><li>Reproduce with <tt>import --since 2024-03-05</tt></li><li>Check the <b>queue</b> "
                "depth</li><li>Compare with <a href=\"/browse/OPS-%1\">OPS-%1</a><ul><li>nested detail</li>"
                "</ul></li></ul>"_s.arg(2000 + section);
        html += u"<ol><li>Stop the worker</li><li>Drain the queue</li><li>Restart</li></ol>"_s;
        html += u"<div class=\"code panel\"><div class=\"codeContent panelContent\"><pre class=\"code-java\">"
                "<span class=\"code-keyword\">public</span> <span class=\"code-keyword\">void</span> run() {\n"
                "    <span class=\"code-keyword\">for</span> (Item item : queue) {\n"
                "        process(item); <span class=\"code-comment\">// retries &lt;= 3</span>\n    }\n}</pre>"
                "</div></div>"_s;
        html += u"<div class=\"table-wrap\"><table class=\"confluenceTable\"><tbody><tr><th class=\"confluenceTh\">"
                "Host</th><th class=\"confluenceTh\">Status</th><th class=\"confluenceTh\">Latency</th></tr>"_s;
        for (int row = 0; row < 6; ++row) {
            html += u"<tr><td class=\"confluenceTd\">node-%1.example.com</td><td class=\"confluenceTd\">"
                    "<font color=\"#14892c\">OK</font></td><td class=\"confluenceTd\">%2 ms</td></tr>"_s.arg(row)
                        .arg(10 + row * 7);
        }
        html += u"</tbody></table></div><p><img class=\"emoticon\" src=\"/images/icons/emoticons/warning.png\" "
                "height=\"16\" width=\"16\" align=\"absmiddle\" alt=\"\" border=\"0\"/> Watch the disk.</p>"_s;
    }
    return html;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QStringList texts = updatedTexts(now);
    qsizetype phraseChars = 0;
    int runs = 0;
    const double listNs = nsPerRun(
        [&] {
            for (const QString &text : texts)
                phraseChars += relativeTimeString(text, now).size();
        },
        1000, &runs);
    std::printf("relativeTimeString, 100 rows: %.1f us per list, %.2f us per row (%d runs; e.g. \"%s\")\n",
                listNs / 1e3, listNs / 1e5, runs, qPrintable(relativeTimeString(texts.first(), now)));

    const QString html = jiraDescription(200 * 1024);
    qsizetype richChars = 0;
    const double htmlNs =
        nsPerRun([&] { richChars += attributedFromHTML(html).value_or(QString()).size(); }, 3000, &runs);
    std::printf("attributedFromHTML, %lld KB of HTML: %.1f ms per conversion (%d runs, %lld chars of rich text)\n",
                static_cast<long long>(html.toUtf8().size() / 1024), htmlNs / 1e6, runs,
                static_cast<long long>(attributedFromHTML(html).value_or(QString()).size()));
    return phraseChars > 0 && richChars > 0 ? 0 : 1;
}
