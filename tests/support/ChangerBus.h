// The changers on one control-bus port of a simulated interface unit. It
// answers the program's messages through the unit and lets the test run the
// changers' clock one changer second at a time.
#pragma once

#include "ChangerModel.h"
#include "TavlinSimulator.h"

#include <memory>
#include <mutex>

class CChangerBus : public CTavlinBusDevice
{
public:
    // Attaches itself to the unit's port until it is destroyed.
    CChangerBus(CTavlinSimulator& unit, int port);
    ~CChangerBus() override;
    CChangerBus(const CChangerBus&) = delete;
    CChangerBus& operator=(const CChangerBus&) = delete;

    // Owned; returns the model for setting up. Set it up before the program talks.
    CChangerModel& Add(int id, int typeCode, int capacity);

    // Every changer on the port lives that many seconds; their reports go out
    // through the unit in order.
    void RunSeconds(int seconds);
    void OpenDoor(int id, bool open);
    // Reads a model's state under the bus lock.
    template <typename Read>
    auto Inspect(int id, Read read)
    {
        std::lock_guard<std::mutex> hold(m_lock);
        return read(*m_changers[id]);
    }

    std::vector<std::string> OnBusMessage(const std::string& message) override;

private:
    void Send(const std::vector<std::string>& messages);

    CTavlinSimulator& m_unit;
    int m_port;
    std::mutex m_lock;
    std::unique_ptr<CChangerModel> m_changers[3];
};
