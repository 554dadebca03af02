// Types into a draft the way the pane does, then waits to be killed: `draft_writer SERVER ISSUE KIND TEXT`
// with KIND comment, edit (of comment 90011) or worklog. Prints "typed" once the pause after typing has
// passed, and nothing is flushed by hand.

#include "ui/detail/CommentEditor.h"
#include "ui/detail/WorkLogForm.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const QUrl server(args[1]);
    const QString kind = args[3];
    CommentEditor comment(server, args[2], {}, {}, nullptr);
    CommentEditor edit(server, args[2], u"90011"_s, u"as the server has it"_s, nullptr);
    WorkLogForm workLog(server, args[2], nullptr);
    if (kind == u"comment")
        comment.setText(args[4]);
    else if (kind == u"edit")
        edit.setText(args[4]);
    else
        workLog.setTimeSpent(args[4]);
    QTimer::singleShot(Draft::savePauseMs * 2, [] {
        std::puts("typed");
        std::fflush(stdout);
    });
    return QCoreApplication::exec();
}
