#include "store/ErrorProtocol.h"

Dialogs::Answer ErrorBox(const RingtalError &error, const QString &message, const QString &title)
{
    const QString boxTitle = title.isEmpty() ? QStringLiteral("Fehler") : title;
    return Dialogs::current().errorBox(boxTitle, failureText(error, message));
}

QString failureText(const RingtalError &error, const QString &what)
{
    const QString text = QStringLiteral("Fehler: %1 - %2").arg(error.number()).arg(error.description());
    return what.isEmpty() ? text : text + QLatin1Char('\n') + what;
}

void reportFailure(const std::exception &failure, const QString &what)
{
    Dialogs::current().message(QStringLiteral("Fehler"), failureText(asRingtalError(failure), what),
                               Dialogs::Icon::Critical);
}

RingtalError asRingtalError(const std::exception &failure)
{
    if (const auto *own = dynamic_cast<const RingtalError *>(&failure))
        return *own;
    return RingtalError(ErrorNumber::InvalidProcedureCall,
                        QStringLiteral("Unerwarteter Fehler: %1").arg(QString::fromLocal8Bit(failure.what())));
}

ErrorProtocol::ErrorProtocol(QString message)
    : m_message(std::move(message))
{
}

bool ErrorProtocol::runStep(const Step &step) const
{
    for (;;) {
        try {
            step();
            return true;
        } catch (const std::exception &failure) {
            switch (ErrorBox(asRingtalError(failure), m_message)) {
            case Dialogs::Answer::Retry:
                continue;
            case Dialogs::Answer::Ignore:
                return true;
            default:
                return false;
            }
        }
    }
}

bool ErrorProtocol::run(const std::vector<Step> &steps) const
{
    for (const Step &step : steps) {
        if (!runStep(step))
            return false;
    }
    return true;
}
