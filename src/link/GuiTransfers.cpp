#include "link/GuiTransfers.h"
#include "app/MainHost.h"

namespace kt {

Transfers::Transfers(MainHost& host, QObject* parent) : QObject(parent), host_(host) {}
Transfers::~Transfers() = default;

void Transfers::CommunicationPort() {}
void Transfers::ReadFromRadio() {}
void Transfers::WriteToRadio() {}
void Transfers::WriteToGroup() {}
void Transfers::RadioInformation() {}
bool Transfers::IsPortOpen() const { return false; }
void Transfers::ClosePort() {}
void Transfers::StopTimers() {}

}  // namespace kt
