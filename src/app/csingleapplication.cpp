#include "csingleapplication.h"

#include <cstdlib>
#include <sstream>

#include <log4cplus/configurator.h>
#include <log4cplus/initializer.h>
#include <log4cplus/logger.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcessEnvironment>

#include "app/cinstancechannel.h"
#include "app/cplatform.h"
#include "app/cstartuplog.h"
#include "helpers/cappversion.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"

namespace kd_app {

namespace {

constexpr int kSocketTimeoutMs = 1000;

log4cplus::LogLevel levelOf(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return log4cplus::DEBUG_LOG_LEVEL;
    case QtInfoMsg:
        return log4cplus::INFO_LOG_LEVEL;
    case QtWarningMsg:
        return log4cplus::WARN_LOG_LEVEL;
    case QtCriticalMsg:
        return log4cplus::ERROR_LOG_LEVEL;
    case QtFatalMsg:
        return log4cplus::FATAL_LOG_LEVEL;
    }
    return log4cplus::INFO_LOG_LEVEL;
}

void routeQtMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    log4cplus::Logger logger = log4cplus::Logger::getRoot();
    const log4cplus::LogLevel level = levelOf(type);
    if (logger.isEnabledFor(level)) {
        // Text from outside must not start lines of its own; the start-up's
        // kept lines were made single lines when they were kept.
        const bool keptLines = context.category && qstrcmp(context.category, lcStartupLog().categoryName()) == 0;
        const QString line = keptLines ? message : helpers::CLogFormat::oneLine(message);
        logger.forcedLog(level, line.toStdString(), context.file ? context.file : "", context.line,
                         context.function ? context.function : "");
    }
    if (type == QtFatalMsg) {
        abort();
    }
}

// Replaces each ${name} by the environment variable's value with "/" for
// every "\"; an unset or empty variable leaves its reference as it is.
QString substituteVariables(const QString &value)
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString result = value;
    int from = 0;
    while (true) {
        const int start = result.indexOf(QLatin1String("${"), from);
        if (start < 0) {
            break;
        }
        const int end = result.indexOf(QLatin1Char('}'), start + 2);
        if (end < 0) {
            break;
        }
        QString replacement = environment.value(result.mid(start + 2, end - start - 2));
        if (replacement.isEmpty()) {
            from = end + 1;
            continue;
        }
        replacement.replace(QLatin1Char('\\'), QLatin1Char('/'));
        result.replace(start, end - start + 1, replacement);
        from = start + replacement.size();
    }
    return result;
}

// The shipped file is written with log4j's key names; the engine behind
// them reads its own prefix, appender and layout class names, and
// capitalised option names ("File" where log4j also accepts "file").
log4cplus::helpers::Properties toEngineProperties(const log4cplus::helpers::Properties &properties)
{
    log4cplus::helpers::Properties translated;
    for (const std::string &key : properties.propertyNames()) {
        QStringList parts = QString::fromStdString(key).split(QLatin1Char('.'));
        if (parts.value(0) == QLatin1String("log4j")) {
            parts[0] = QStringLiteral("log4cplus");
        }
        if (parts.value(1) == QLatin1String("appender")) {
            for (int i = 3; i < parts.size(); ++i) {
                if (parts[i] != QLatin1String("layout") && !parts[i].isEmpty()) {
                    parts[i][0] = parts[i][0].toUpper();
                }
            }
        }
        QString value = QString::fromStdString(properties.getProperty(key));
        value.replace(QLatin1String("org.apache.log4j."), QLatin1String("log4cplus::"));
        if (parts.size() == 4 && parts.value(1) == QLatin1String("appender") && parts[3] == QLatin1String("Target")) {
            // log4j names the console's stream; the engine has a switch for it.
            parts[3] = QStringLiteral("logToStdErr");
            value = value == QLatin1String("System.err") ? QStringLiteral("true") : QStringLiteral("false");
        }
        translated.setProperty(parts.join(QLatin1Char('.')).toStdString(), value.toStdString());
    }
    return translated;
}

} // namespace

CSingleApplication::CSingleApplication(int &argc, char **argv, const QString &key)
    : QApplication(argc, argv), m_qstrKey(key)
{
    KD_LOG << "applicationDirPath:" << applicationDirPath();
    KD_LOG << "applicationName:" << applicationName();

    QString userFolder = helpers::CUserConfigUtils::getUserConfigPath();
    if (userFolder.isEmpty()) {
        userFolder = QDir::tempPath();
    }
    m_qstrInstanceName = CPlatform::instanceName(m_qstrKey, userFolder);
    m_qstrServerPath = CPlatform::instanceServerPath(m_qstrInstanceName, userFolder);
    m_sharedMemory.setKey(m_qstrInstanceName);
    if (!lockInstance(userFolder + QLatin1Char('/') + m_qstrKey + QStringLiteral(".lock")) &&
        m_pInstanceLock->error() != QLockFile::LockFailedError && !m_qstrServerPath.isEmpty()) {
        // A folder we cannot write must not make every start a second one;
        // the server's folder is this user's alone, so nobody else can take
        // the lock there first.
        lockInstance(m_qstrServerPath + QStringLiteral(".lock"));
    }

    if (m_pInstanceLock->error() == QLockFile::LockFailedError) {
        m_bIsRunning = true;
        m_sharedMemory.attach(QSharedMemory::ReadWrite);
        initLog4Qt(true);
        KD_LOG << "===================== Conflicted App is starting, version:" << helpers::kAppVersion
               << "=====================";
        logArguments();
        return;
    }

    initLog4Qt(false);
    KD_LOG << "===================== App is starting, version:" << helpers::kAppVersion << "=====================";
    m_bIsRunning = false;
    // A segment still there belongs to a crashed instance (we hold the lock).
    if (m_sharedMemory.attach(QSharedMemory::ReadWrite)) {
        m_sharedMemory.detach();
    }
    // The segment's key file lies in the shared temporary folder, where
    // another user can take its name first; the lock has already made this
    // the first instance, so the channel does not depend on the segment.
    if (!m_sharedMemory.create(1, QSharedMemory::ReadWrite)) {
        KD_WARN << "Unable to create single instance." << m_sharedMemory.errorString();
    }
    startServer();
    logArguments();
}

CSingleApplication::~CSingleApplication() = default;

bool CSingleApplication::lockInstance(const QString &lockPath)
{
    m_pInstanceLock = std::make_unique<QLockFile>(lockPath);
    // Held for as long as the first instance lives: never stale by age, only
    // when its process is gone.
    m_pInstanceLock->setStaleLockTime(0);
    if (m_pInstanceLock->tryLock(0)) {
        return true;
    }
    if (m_pInstanceLock->error() != QLockFile::LockFailedError) {
        KD_WARN << "Failed to create instance lock:" << lockPath << m_pInstanceLock->error();
    }
    return false;
}

void CSingleApplication::startServer()
{
    if (m_qstrServerPath.isEmpty()) {
        KD_WARN << "No folder of this user's alone for the instance channel; second starts cannot reach this one";
        return;
    }
    KD_LOG << "Instance channel:" << m_qstrServerPath;
    m_pChannel = new CInstanceChannel(this);
    connect(m_pChannel, &CInstanceChannel::messageAvailable, this, &CSingleApplication::messageAvailable);
    if (!m_pChannel->listen(m_qstrServerPath)) {
        delete m_pChannel;
        m_pChannel = nullptr;
    }
}

void CSingleApplication::logArguments()
{
    const QStringList args = arguments();
    KD_LOG << "argc:" << args.size();
    for (int i = 0; i < args.size(); ++i) {
        // A join link carries the meeting password: the parser logs its parts.
        const QString &arg = args.at(i);
        const bool isLink = arg.startsWith(QLatin1String("--url="));
        KD_LOG << QStringLiteral("argv[%1]:").arg(i) << (isLink ? helpers::CLogFormat::masked(arg, 6) : arg);
    }
}

bool CSingleApplication::sendMessage(const QString &message)
{
    if (!m_bIsRunning || m_qstrServerPath.isEmpty()) {
        return false;
    }
    return CInstanceChannel::send(m_qstrServerPath, message, kSocketTimeoutMs);
}

void CSingleApplication::initLog4Qt(bool conflicted)
{
    log4cplus::initialize();
    log4cplus::BasicConfigurator basic;
    basic.configure();

    log4cplus::helpers::Properties properties;
    loadLogProperties(applicationDirPath() + QStringLiteral("/log4qt_win.properties"), properties, conflicted);
    if (properties.size() > 0) {
        log4cplus::PropertyConfigurator configurator(toEngineProperties(properties));
        configurator.configure();
    }
    qInstallMessageHandler(routeQtMessage);
}

void CSingleApplication::loadLogProperties(const QString &path, log4cplus::helpers::Properties &properties,
                                           bool conflicted)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        KD_DEBUG << "Failed to open log conf file" << path;
        return;
    }
    std::istringstream stream(file.readAll().toStdString());
    log4cplus::helpers::Properties loaded(stream);
    if (file.error() != QFileDevice::NoError || stream.bad()) {
        KD_LOG << "Failed to load log conf file" << path;
        return;
    }
    for (const std::string &name : loaded.propertyNames()) {
        const QString key = QString::fromStdString(name);
        QString value = QString::fromStdString(loaded.getProperty(name));
        KD_DEBUG << "Key: " << key << ", Value: " << value;
        value = substituteVariables(value);
        if (key == QLatin1String("log4j.appender.dest.file")) {
            value += QLatin1Char('/') + applicationName() + QLatin1Char('/') +
                     QLatin1String(conflicted ? m_szConflictLogFileName : m_szLogFileName);
        }
        KD_DEBUG << "Key1: " << key << ", Value1: " << value;
        properties.setProperty(name, value.toStdString());
    }
}

} // namespace kd_app
