// fake-jira: serves the local Jira stand-in on 127.0.0.1 until interrupted, and prints its URL once it
// listens, so that a script can wait for that line and point Tessarin at it.

#include "FakeJira.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const std::pair<QString, FakeJira::Certificate> certificateKinds[] {
    {u"usual"_s, FakeJira::Certificate::Usual},
    {u"replaced"_s, FakeJira::Certificate::Replaced},
    {u"ca-signed"_s, FakeJira::Certificate::CaSigned},
    {u"expired"_s, FakeJira::Certificate::Expired},
    {u"not-yet-valid"_s, FakeJira::Certificate::NotYetValid},
    {u"wrong-host"_s, FakeJira::Certificate::WrongHost},
    {u"other-ca"_s, FakeJira::Certificate::OtherCa},
};

std::optional<FakeJira::Certificate> certificateKind(const QString &name)
{
    for (const auto &[kindName, kind] : certificateKinds) {
        if (kindName == name)
            return kind;
    }
    return std::nullopt;
}

QString certificateKindNames()
{
    QStringList names;
    for (const auto &kind : certificateKinds)
        names.append(kind.first);
    return names.join(u", "_s);
}

} // namespace

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
    const QCommandLineOption certificateOption(
        u"certificate"_s, u"Serve HTTPS with this certificate: "_s + certificateKindNames() + u"."_s, u"kind"_s);
    const QCommandLineOption clientCertificateOption(
        u"require-client-certificate"_s,
        u"Serve HTTPS and demand a client certificate signed by the bundled client CA."_s);
    const QCommandLineOption noTokenListOption(
        u"no-token-list"_s, u"Have no Personal Access Token list, as Jira before 8.14."_s);
    const QCommandLineOption generatedIssuesOption(
        u"generated-issues"_s,
        u"Add this many issues GEN-1, GEN-2, ... assigned to the user (at most %1), to fill more than one page."_s.arg(
            FakeJira::maxGeneratedIssues),
        u"count"_s);
    const QCommandLineOption createMetaOption(
        u"createmeta"_s,
        u"The forms of createmeta to answer: new (paged, Jira 8.4 and later; Jira 9 has only this), old (before "
        "8.4) or both (the default, as Jira 8.4 to 8.x)."_s,
        u"forms"_s, u"both"_s);
    const QCommandLineOption createMetaPageSizeOption(
        u"createmeta-page-size"_s,
        u"The most issue types or fields on one page of the paged createmeta (default 50)."_s, u"count"_s);
    const QCommandLineOption attachmentLimitOption(
        u"attachment-limit"_s,
        u"The largest file that may be attached, in bytes (default %1)."_s.arg(FakeJira::defaultAttachmentUploadLimit),
        u"bytes"_s);
    const QCommandLineOption noAttachmentsOption(u"no-attachments"_s,
                                                 u"Have attachments disabled, as an administrator can."_s);
    const QCommandLineOption oldAttachmentsOption(
        u"old-attachments"_s, u"Show attachments as Jira 5 did: no id, no thumbnail, empty properties."_s);
    const QCommandLineOption deleteAnyAttachmentOption(
        u"delete-any-attachment"_s, u"Let the user delete anyone's attachments, not only its own."_s);
    const QCommandLineOption hiddenIssuesOption(
        u"hidden-issues"_s,
        u"Issues the user may not see (comma-separated keys): 404 \"Issue Does Not Exist\", and left out of the "
        "search, the issue picker and other issues' links."_s,
        u"keys"_s);
    const QCommandLineOption noLinkPermissionOption(
        u"no-link-permission"_s, u"The user lacks the Link Issue permission: linking and unlinking get 401."_s);
    const QCommandLineOption serverVersionOption(
        u"server-version"_s, u"The Jira version the server reports (default 9.12.2; before 8.14 it has no tokens)."_s,
        u"version"_s);
    parser.addOptions({portOption, httpsOption, tokenOption, dataOption, certificateOption, clientCertificateOption,
                       noTokenListOption, generatedIssuesOption, createMetaOption, createMetaPageSizeOption,
                       attachmentLimitOption, noAttachmentsOption, oldAttachmentsOption, deleteAnyAttachmentOption,
                       hiddenIssuesOption, noLinkPermissionOption, serverVersionOption});
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "fake-jira: not a port: %s\n", qPrintable(parser.value(portOption)));
        return 2;
    }

    FakeJira jira;
    jira.setToken(parser.value(tokenOption));
    if (parser.isSet(serverVersionOption))
        jira.setServerVersion(parser.value(serverVersionOption));
    if (parser.isSet(dataOption)) {
        QString error;
        if (!jira.loadData(parser.value(dataOption), &error)) {
            std::fprintf(stderr, "fake-jira: cannot read %s: %s\n", qPrintable(parser.value(dataOption)),
                         qPrintable(error));
            return 1;
        }
    }
    if (parser.isSet(generatedIssuesOption)) {
        bool countOk = false;
        const int count = parser.value(generatedIssuesOption).toInt(&countOk);
        if (!countOk || count < 0 || count > FakeJira::maxGeneratedIssues) {
            std::fprintf(stderr, "fake-jira: not a number of issues from 0 to %d: %s\n", FakeJira::maxGeneratedIssues,
                         qPrintable(parser.value(generatedIssuesOption)));
            return 2;
        }
        jira.addGeneratedIssues(count);
    }
    const QString forms = parser.value(createMetaOption);
    if (forms == "new"_L1) {
        jira.setCreateMetaForms(FakeJira::CreateMetaForms::New);
    } else if (forms == "old"_L1) {
        jira.setCreateMetaForms(FakeJira::CreateMetaForms::Old);
    } else if (forms == "both"_L1) {
        jira.setCreateMetaForms(FakeJira::CreateMetaForms::Both);
    } else {
        std::fprintf(stderr, "fake-jira: no createmeta forms %s (one of new, old, both)\n", qPrintable(forms));
        return 2;
    }
    if (parser.isSet(createMetaPageSizeOption)) {
        bool sizeOk = false;
        const int size = parser.value(createMetaPageSizeOption).toInt(&sizeOk);
        if (!sizeOk || size < 1 || size > 1000) {
            std::fprintf(stderr, "fake-jira: not a page size from 1 to 1000: %s\n",
                         qPrintable(parser.value(createMetaPageSizeOption)));
            return 2;
        }
        jira.setCreateMetaPageSize(size);
    }
    if (parser.isSet(attachmentLimitOption)) {
        bool limitOk = false;
        const qint64 limit = parser.value(attachmentLimitOption).toLongLong(&limitOk);
        if (!limitOk || limit < 0) {
            std::fprintf(stderr, "fake-jira: not a number of bytes: %s\n",
                         qPrintable(parser.value(attachmentLimitOption)));
            return 2;
        }
        jira.setAttachmentUploadLimit(limit);
    }
    jira.setAttachmentsEnabled(!parser.isSet(noAttachmentsOption));
    jira.setOldAttachments(parser.isSet(oldAttachmentsOption));
    jira.setMayDeleteAnyAttachment(parser.isSet(deleteAnyAttachmentOption));
    QStringList hidden;
    for (const QString &key : parser.value(hiddenIssuesOption).split(u',', Qt::SkipEmptyParts))
        hidden.append(key.trimmed());
    jira.setHiddenIssues(hidden);
    jira.setMayLinkIssues(!parser.isSet(noLinkPermissionOption));
    std::optional<FakeJira::Certificate> certificate;
    if (parser.isSet(certificateOption)) {
        certificate = certificateKind(parser.value(certificateOption));
        if (!certificate) {
            std::fprintf(stderr, "fake-jira: no certificate kind %s (one of %s)\n",
                         qPrintable(parser.value(certificateOption)), qPrintable(certificateKindNames()));
            return 2;
        }
    }
    // Either TLS option alone means HTTPS too.
    if (parser.isSet(httpsOption) || certificate || parser.isSet(clientCertificateOption))
        jira.enableTls(certificate.value_or(FakeJira::Certificate::Usual));
    jira.requireClientCertificate(parser.isSet(clientCertificateOption));
    jira.setTokenListAvailable(!parser.isSet(noTokenListOption));
    if (!jira.listen(quint16(port))) {
        std::fprintf(stderr, "fake-jira: cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }
    std::printf("%s\n", qPrintable(jira.url().toString()));
    std::fflush(stdout);
    return app.exec();
}
