// What the serial adapters of both systems share: a device that went away,
// and opening it again.
#include "link/serial_link_qt.h"

namespace quelro {

bool SerialLink::Reopen() {
    if (lost_.isEmpty()) return false;
    const QString device = lost_;
    if (!Open(device).ok) {
        lost_ = device; // still away: try again next time
        return false;
    }
    emit Reopened();
    return true;
}

void SerialLink::LoseDevice() {
    const QString device = device_;
    Close();
    lost_ = device;
    emit Lost();
}

void SerialLink::EmitEvents(const std::vector<SerialEvent>& events) {
    for (const SerialEvent& event : events) {
        if (event.kind == SerialEvent::Break)
            emit BreakReceived();
        else
            emit BytesReceived(
                QByteArray(event.bytes.data(), static_cast<qsizetype>(event.bytes.size())));
    }
}

} // namespace quelro
