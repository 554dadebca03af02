// fake-jira: serves the local Jira stand-in on 127.0.0.1 until interrupted, and prints its URL once it
// listens, so that a script can wait for that line and point Tessarin at it.

#include "FakeJira.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"fake-jira"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"A local stand-in for a Jira Server, on 127.0.0.1."_s);
    parser.addHelpOption();
    const QCommandLineOption portOption(u"port"_s, u"Port to listen on (0: any free port)."_s, u"port"_s, u"0"_s);
    const QCommandLineOption httpsOption(u"https"_s, u"Serve HTTPS with a self-signed certificate."_s);
    const QCommandLineOption tokenOption(u"token"_s, u"The Personal Access Token to accept."_s, u"token"_s,
                                         FakeJira::defaultToken);
    const QCommandLineOption dataOption(u"data"_s, u"A JSON data file instead of the sample team."_s, u"file"_s);
    parser.addOptions({portOption, httpsOption, tokenOption, dataOption});
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "fake-jira: not a port: %s\n", qPrintable(parser.value(portOption)));
        return 2;
    }

    FakeJira jira;
    jira.setToken(parser.value(tokenOption));
    if (parser.isSet(dataOption)) {
        QString error;
        if (!jira.loadData(parser.value(dataOption), &error)) {
            std::fprintf(stderr, "fake-jira: cannot read %s: %s\n", qPrintable(parser.value(dataOption)),
                         qPrintable(error));
            return 1;
        }
    }
    if (parser.isSet(httpsOption))
        jira.enableTls();
    if (!jira.listen(quint16(port))) {
        std::fprintf(stderr, "fake-jira: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::printf("%s\n", qPrintable(jira.url().toString()));
    std::fflush(stdout);
    return app.exec();
}
