// The application-wide event filter behind MessageHook.
#include "platform/messagehook.h"

#include <QCursor>
#include <QGuiApplication>

namespace pictoralia {

MessageHook::MessageHook(Handler handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler))
{
    if (qApp) {
        qApp->installEventFilter(this);
        // The application state turns inactive only when none of the program's windows
        // has the focus any more, so moving the focus between its own windows (the
        // second monitor's form) is not a loss of activation.
        m_stateConnection = connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
                                    &MessageHook::ApplicationStateChanged);
    }
}

MessageHook::~MessageHook()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool MessageHook::Deliver(TMsg msg)
{
    bool handled = false;
    if (m_handler)
        m_handler(msg, handled);
    return handled;
}

void MessageHook::ApplicationStateChanged(Qt::ApplicationState state)
{
    if (state != Qt::ApplicationInactive || !m_activationArmed)
        return;
    const TPoint pt{QCursor::pos().x(), QCursor::pos().y()};
    Deliver(TMsg{nullptr, WM_ACTIVATEAPP, 0, 0, pt});
}

bool MessageHook::eventFilter(QObject *watched, QEvent *event)
{
    if (const auto msg = MessageFromEvent(watched, event))
        return Deliver(*msg);
    return false;
}

} // namespace pictoralia
