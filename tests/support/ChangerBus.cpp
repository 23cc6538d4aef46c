#include "tests/support/ChangerBus.h"

CChangerBus::CChangerBus(std::function<void(const std::string&)> report) : m_report(report)
{
}

CChangerBus::CChangerBus(CTavlinSimulator& unit, int port) : m_unit(&unit), m_port(port)
{
    m_report = [&unit, port](const std::string& message) { unit.Send(CTavlinSimulator::Message(port, message)); };
    unit.AttachBusDevice(port, this);
}

CChangerBus::~CChangerBus()
{
    if (m_unit)
        m_unit->AttachBusDevice(m_port, nullptr);
}

CChangerModel& CChangerBus::Add(int id, int typeCode, int capacity)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_changers[id].reset(new CChangerModel(id, typeCode, capacity));
    return *m_changers[id];
}

std::vector<std::string> CChangerBus::OnBusMessage(const std::string& message)
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<std::string> answers;
    for (auto& changer : m_changers) {
        if (!changer)
            continue;
        for (const std::string& answer : changer->Receive(message))
            answers.push_back(answer);
    }
    return answers;
}

void CChangerBus::Send(const std::vector<std::string>& messages)
{
    for (const std::string& message : messages)
        m_report(message);
}

void CChangerBus::RunSeconds(int seconds)
{
    for (int s = 0; s < seconds; ++s) {
        std::vector<std::string> reports;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            for (auto& changer : m_changers) {
                if (changer) {
                    for (const std::string& report : changer->Second())
                        reports.push_back(report);
                }
            }
        }
        Send(reports);
    }
}

void CChangerBus::OpenDoor(int id, bool open)
{
    std::vector<std::string> reports;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        reports = m_changers[id]->Door(open);
    }
    Send(reports);
}
