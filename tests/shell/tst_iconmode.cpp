// The icon: renderPNG on its own, and the real program in icon mode, also where no display exists.

#include "IconRenderer.h"
#include "SealedSession.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The two ends of the gradient, top-left to bottom-right.
const QColor gradientStart = QColor::fromRgbF(0.02f, 0.22f, 0.55f);
const QColor gradientEnd = QColor::fromRgbF(0.09f, 0.48f, 0.94f);

bool near(const QColor &a, const QColor &b, int tolerance = 3)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
        std::abs(a.blue() - b.blue()) <= tolerance && std::abs(a.alpha() - b.alpha()) <= tolerance;
}

QColor gradientAt(qreal t)
{
    return QColor::fromRgbF(gradientStart.redF() + t * (gradientEnd.redF() - gradientStart.redF()),
                            gradientStart.greenF() + t * (gradientEnd.greenF() - gradientStart.greenF()),
                            gradientStart.blueF() + t * (gradientEnd.blueF() - gradientStart.blueF()));
}

// Checks what every icon must show; empty when all is well, else what is wrong.
QString iconFaults(const QImage &image)
{
    if (image.size() != QSize(1024, 1024))
        return u"size %1x%2"_s.arg(image.width()).arg(image.height());
    for (const QPoint corner : {QPoint(0, 0), QPoint(1023, 0), QPoint(0, 1023), QPoint(1023, 1023), QPoint(30, 30)}) {
        if (image.pixelColor(corner).alpha() != 0)
            return u"corner %1,%2 is not transparent"_s.arg(corner.x()).arg(corner.y());
    }
    // Along the diagonal's ends and on the edge's middle, outside the glyph's box: the gradient.
    for (const QPoint p : {QPoint(100, 100), QPoint(923, 923), QPoint(512, 10), QPoint(10, 512), QPoint(700, 120)}) {
        const QColor expected = gradientAt((p.x() + p.y()) / 2046.0);
        if (!near(image.pixelColor(p), expected))
            return u"pixel %1,%2 is %3, not %4"_s.arg(p.x()).arg(p.y()).arg(image.pixelColor(p).name(),
                                                                            expected.name());
    }
    // The glyph is white, inside its 564 × 564 box, and fills it in one direction at least.
    QRect white;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == Qt::white)
                white |= QRect(x, y, 1, 1);
        }
    }
    const QRect box(230, 230, 564, 564);
    if (white.isEmpty() || !box.contains(white))
        return u"white area %1,%2 %3x%4"_s.arg(white.x()).arg(white.y()).arg(white.width()).arg(white.height());
    if (std::max(white.width(), white.height()) < 540)
        return u"the glyph does not fill its box: %1x%2"_s.arg(white.width()).arg(white.height());
    if (std::abs(white.center().x() - 512) > 2 || std::abs(white.center().y() - 512) > 2)
        return u"the glyph is off centre"_s;
    return {};
}

} // namespace

class TestIconMode : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Run
    {
        int exitCode = -1;
        QProcess::ExitStatus exitStatus = QProcess::CrashExit;
        QByteArray output;
    };

    // The program with TESSARIN_MAKE_ICON set to value, and no display of any kind.
    Run runIconMode(const QByteArray &value, const QString &platform = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        if (!platform.isEmpty())
            env.insert(u"QT_QPA_PLATFORM"_s, platform);
        env.insert(u"TESSARIN_MAKE_ICON"_s, QString::fromLocal8Bit(value));
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(TESSARIN_PROGRAM), {});
        Run run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitCode();
        run.exitStatus = process.exitStatus();
        run.output = process.readAll();
        return run;
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY(m_dir.isValid());
    }

    void renderedIcon()
    {
        const std::optional<QByteArray> png = IconRenderer::renderPNG(1024);
        QVERIFY(png);
        QVERIFY(png->startsWith("\x89PNG"));
        const QImage image = QImage::fromData(*png, "PNG");
        QCOMPARE(iconFaults(image), QString());
    }

    void renderSides_data()
    {
        QTest::addColumn<qreal>("side");
        QTest::addColumn<int>("pixels");
        QTest::newRow("small") << 64.0 << 64;
        QTest::newRow("fraction") << 100.5 << 101;
        QTest::newRow("zero") << 0.0 << 0;
        QTest::newRow("negative") << -5.0 << 0;
        QTest::newRow("not a number") << qreal(std::nan("")) << 0;
        QTest::newRow("infinite") << qreal(INFINITY) << 0;
        QTest::newRow("absurd") << 1e9 << 0;
    }
    void renderSides()
    {
        QFETCH(qreal, side);
        QFETCH(int, pixels);
        const std::optional<QByteArray> png = IconRenderer::renderPNG(side);
        QCOMPARE(png.has_value(), pixels > 0);
        if (png) {
            const QImage image = QImage::fromData(*png, "PNG");
            QCOMPARE(image.size(), QSize(pixels, pixels));
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        }
    }

    void iconModeWritesTheFile_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::newRow("no display, no platform named") << QString();
        QTest::newRow("no display, X11 asked for") << u"xcb"_s;
        QTest::newRow("no display, Wayland asked for") << u"wayland"_s;
    }
    void iconModeWritesTheFile()
    {
        QFETCH(QString, platform);
        const QString path = m_dir.filePath(u"icon.png"_s);
        QFile::remove(path);
        const Run run = runIconMode(QFile::encodeName(path), platform);
        QCOMPARE(run.exitStatus, QProcess::NormalExit);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QByteArray());
        QImage image;
        QVERIFY(image.load(path, "PNG"));
        QCOMPARE(iconFaults(image), QString());
    }

    void iconModeReplacesAnExistingFile()
    {
        const QString path = m_dir.filePath(u"existing.png"_s);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            // Longer than any icon, so a write that does not truncate leaves a tail behind.
            file.write(QByteArray(4 * 1024 * 1024, 'x'));
        }
        const Run run = runIconMode(QFile::encodeName(path));
        QCOMPARE(run.exitCode, 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, *IconRenderer::renderPNG(1024));
    }

    void iconModeWithARelativePath()
    {
        const QString name = u"relative-icon.png"_s;
        QFile::remove(m_dir.filePath(name));
        QCOMPARE(runIconMode(name.toUtf8()).exitCode, 0);
        QVERIFY(QFile::exists(m_dir.filePath(name)));
    }

    void iconModeFailsQuietly_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("missing directory") << QFile::encodeName(m_dir.filePath(u"no/such/dir/icon.png"_s));
        QTest::newRow("empty value") << QByteArray();
        QTest::newRow("a directory") << QFile::encodeName(m_dir.path());
    }
    void iconModeFailsQuietly()
    {
        QFETCH(QByteArray, value);
        const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const Run run = runIconMode(value);
        QCOMPARE(run.exitStatus, QProcess::NormalExit);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output, QByteArray());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(!QFile::exists(m_dir.filePath(u"no"_s)));
    }
};

QTEST_GUILESS_MAIN(TestIconMode)
#include "tst_iconmode.moc"
