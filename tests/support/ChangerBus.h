// The changers on one control bus: on a port of a simulated interface unit, or
// behind any other road that hands it whole messages. It answers the program's
// messages and lets the test run the changers' clock one changer second at a
// time.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "tests/support/ChangerModel.h"
#include "tests/support/TavlinSimulator.h"

class CChangerBus : public CTavlinBusDevice
{
public:
    // What the changers say on their own goes to report, whole messages.
    explicit CChangerBus(std::function<void(const std::string&)> report);
    // Attaches itself to the unit's port until it is destroyed.
    CChangerBus(CTavlinSimulator& unit, int port);
    ~CChangerBus() override;
    CChangerBus(const CChangerBus&) = delete;
    CChangerBus& operator=(const CChangerBus&) = delete;

    // Owned; returns the model for setting up. Set it up before the program talks.
    CChangerModel& Add(int id, int typeCode, int capacity);

    // Every changer on the bus lives that many seconds; their reports go out
    // in order.
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

    std::function<void(const std::string&)> m_report;
    CTavlinSimulator* m_unit = nullptr;
    int m_port = -1;
    std::mutex m_lock;
    std::unique_ptr<CChangerModel> m_changers[3];
};
