#include "platform/MprisRootAdaptor.h"

#include "platform/IMprisTarget.h"

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, IMprisTarget& target)
    : QDBusAbstractAdaptor(parent), m_Target(target) {}

void MprisRootAdaptor::Raise() {
    m_Target.Raise();
}
