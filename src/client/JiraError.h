#pragma once
// The one error type of the Jira client, and the text a user reads for it.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// The certificate a server presented when it was not accepted, for the user to judge.
struct JiraCertificate
{
    // What the system's checks found wrong with it, as the user can act on it.
    enum class Problem { Expired, NotYetValid, HostMismatch, UnknownIssuer, SelfSigned, Revoked, Other };

    QString fingerprint; // SHA-256, lower-case hex
    QString subject;
    QString issuer;
    QDateTime notBefore;
    QDateTime notAfter;
    QStringList problems; // the checks' own words
    QList<Problem> problemKinds;
    QStringList names; // the host names and addresses it was issued for
    // The certificate trusted for this server instead, when it was refused for not being that one.
    QString pinnedFingerprint;

    friend bool operator==(const JiraCertificate &, const JiraCertificate &) = default;
};

class JiraError
{
public:
    enum class Kind { Http, Decoding, Transport, NotConfigured, InvalidURL };
    // A transfer time-out and a cancellation both arrive from Qt as "Operation canceled"; the user
    // should read which of the two happened.
    enum class TransportKind { Failure, TimedOut, Cancelled };
    // What the failure most likely means, read from the answer's status, headers and body or from the
    // transport's error: what the user should do next depends on it, the fixed description does not.
    enum class Diagnosis {
        None,
        SignInPage, // an HTML page (a login form, a single sign-on gateway) where data was expected
        CaptchaRequired, // X-Authentication-Denied-Reason: CAPTCHA_CHALLENGE
        LoginFailed, // X-Seraph-LoginReason: AUTHENTICATED_FAILED
        NotAuthorized, // X-Seraph-LoginReason: AUTHORIZATION_FAILED
        TokenRejected, // 401
        Forbidden, // 403
        NotFound, // 404 on a REST path
        RateLimited, // 429
        Unavailable, // 503
        HostNotFound,
        ConnectionRefused,
        TimedOut,
        Tls,
        ProxyAuthentication, // 407
        Proxy,
        NetworkSetting, // a CA file or proxy in the settings that cannot be used
        ClientCertificate, // the client certificate in the settings cannot be used
        ClientCertificateRequired, // the server wants a client certificate and none was given
        ClientCertificateRefused, // the server did not accept the one given
    };

    [[nodiscard]] static JiraError http(int statusCode, const QString &message);
    [[nodiscard]] static JiraError decoding(const QString &detail);
    [[nodiscard]] static JiraError transport(const QString &text, TransportKind kind = TransportKind::Failure);
    [[nodiscard]] static JiraError notConfigured();
    [[nodiscard]] static JiraError invalidURL();

    [[nodiscard]] Kind kind() const { return m_kind; }
    // Http only: the status code and the server's text (or the status's short description).
    [[nodiscard]] int statusCode() const { return m_statusCode; }
    [[nodiscard]] QString message() const { return m_message; }
    // Decoding: where the answer broke the expected shape (never shown to the user).
    // Transport: the network layer's own description of the failure.
    [[nodiscard]] QString detail() const { return m_detail; }
    [[nodiscard]] TransportKind transportKind() const { return m_transportKind; }

    [[nodiscard]] Diagnosis diagnosis() const { return m_diagnosis; }
    // How long the server asked to wait before the next request (429, 503), when it said.
    [[nodiscard]] std::optional<std::chrono::seconds> retryAfter() const { return m_retryAfter; }
    // The refused certificate, for a TLS failure.
    [[nodiscard]] const std::optional<JiraCertificate> &certificate() const { return m_certificate; }
    [[nodiscard]] JiraError withCertificate(JiraCertificate certificate) const
    {
        JiraError error = *this;
        error.m_certificate = std::move(certificate);
        return error;
    }
    [[nodiscard]] JiraError diagnosed(Diagnosis diagnosis, std::optional<std::chrono::seconds> retryAfter = {}) const
    {
        JiraError error = *this;
        error.m_diagnosis = diagnosis;
        error.m_retryAfter = retryAfter;
        return error;
    }

    // The fixed user-facing description of this error.
    [[nodiscard]] QString description() const;

    friend bool operator==(const JiraError &, const JiraError &) = default;

private:
    explicit JiraError(Kind kind)
        : m_kind(kind)
    { }

    Kind m_kind;
    int m_statusCode = 0;
    QString m_message;
    QString m_detail;
    TransportKind m_transportKind = TransportKind::Failure;
    Diagnosis m_diagnosis = Diagnosis::None;
    std::optional<std::chrono::seconds> m_retryAfter;
    std::optional<JiraCertificate> m_certificate;
};

// What the store, the detail pane and the settings window show for a failed operation.
[[nodiscard]] inline QString userFacingText(const JiraError &error)
{
    return error.description();
}
