// The application's message hook: an application-wide event filter that turns Qt input
// and activation events into message records and hands each to one handler.
#pragma once

#include "platform/message.h"

#include <QObject>

#include <functional>

namespace pictoralia {

// GUI thread only. Installed on the application object while it exists.
class MessageHook final : public QObject {
    Q_OBJECT
public:
    // Handled starts false; a handler that sets it swallows the event.
    using Handler = std::function<void(TMsg &msg, bool &handled)>;

    explicit MessageHook(Handler handler, QObject *parent = nullptr);
    ~MessageHook() override;

    // From now on, the application losing the activation to another program is
    // reported as WM_ACTIVATEAPP (wParam 0). Before this, activation changes are the
    // program's own start and are not reported.
    void ArmActivation() { m_activationArmed = true; }

    // Feeds one record as if it had come from the queue (used by the event filter).
    bool Deliver(TMsg msg);
    // The application's activation state changed (connected to Qt's notification).
    void ApplicationStateChanged(Qt::ApplicationState state);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Handler m_handler;
    bool m_activationArmed = false;
    QMetaObject::Connection m_stateConnection;
};

} // namespace pictoralia
