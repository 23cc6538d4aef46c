// The interface control over the real server with a unit on a pty: its
// dispatch members and properties by id, devices and units counted from 1,
// texts received as a device name and a message, and the server's refusals as
// the stock error event.
#include "tests/support/TestFramework.h"

#include <mutex>
#include <string>
#include <vector>

#include <ocidl.h>

#include "tests/support/server/ServerEnvironment.h"
#include "platform/tavlinx/TavlinXApi.h"
#include "server/tests/TestSite.h"
#include "platform/runtime/ComUnknown.h"

namespace {

const char kChanger[] = "type=tavlin\n00011010:power\n0011:status\n";

std::string Narrow(BSTR text)
{
    std::string out;
    for (const OLECHAR* p = text; p && *p; ++p)
        out += char(*p);
    return out;
}

// Records the control's events as "device|message" and "error:description".
class CEventSink : public IDispatch
{
public:
    CEventSink() : m_refs(1), m_changed(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    virtual ~CEventSink() { CloseHandle(m_changed); }

    COM_IUNKNOWN(IDispatch, IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID_TavlinXEvents))

    COM_DISPATCH_WITHOUT_TYPES
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override
    {
        std::string text;
        if (id == kTavlinXReceiveEvent && params->cArgs == 2)
            text = Narrow(*V_BSTRREF(&params->rgvarg[1])) + "|" + Narrow(*V_BSTRREF(&params->rgvarg[0]));
        else if (id == kTavlinXErrorEvent && params->cArgs == 7)
            text = "error:" + Narrow(*V_BSTRREF(&params->rgvarg[5]));
        else
            text = "unexpected event " + std::to_string(id);
        std::lock_guard<std::mutex> hold(m_lock);
        m_events.push_back(text);
        SetEvent(m_changed);
        return S_OK;
    }

    std::vector<std::string> WaitFor(size_t count)
    {
        for (int i = 0; i < 100; ++i) {
            {
                std::lock_guard<std::mutex> hold(m_lock);
                if (m_events.size() >= count)
                    return m_events;
            }
            WaitForSingleObject(m_changed, 100);
        }
        std::lock_guard<std::mutex> hold(m_lock);
        return m_events;
    }

    void Clear()
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_events.clear();
    }

private:
    LONG m_refs;
    HANDLE m_changed;
    std::mutex m_lock;
    std::vector<std::string> m_events;
};

class TavlinXTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_TavlinX, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                         reinterpret_cast<void**>(&m_control)));
        IConnectionPointContainer* container = nullptr;
        ASSERT_EQ(S_OK, m_control->QueryInterface(IID_IConnectionPointContainer,
                                                  reinterpret_cast<void**>(&container)));
        ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_TavlinXEvents, &m_point));
        container->Release();
        ASSERT_EQ(S_OK, m_point->Advise(m_sink, &m_cookie));
    }

    void TearDown() override
    {
        if (m_point) {
            m_point->Unadvise(m_cookie);
            m_point->Release();
        }
        if (m_control)
            m_control->Release();
        m_sink->Release();
    }

    // A member called with texts and longs, first argument first.
    LONG Call(DISPID id, std::vector<std::string> texts, std::vector<LONG> numbers = {})
    {
        std::vector<VARIANT> args;
        for (const std::string& text : texts) {
            VARIANT v;
            V_VT(&v) = VT_BSTR;
            V_BSTR(&v) = SysAllocString(reinterpret_cast<const OLECHAR*>(Wide(text.c_str()).c_str()));
            args.push_back(v);
        }
        for (LONG number : numbers) {
            VARIANT v;
            V_VT(&v) = VT_I4;
            V_I4(&v) = number;
            args.push_back(v);
        }
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(S_OK, m_control->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr));
        for (VARIANT& v : args)
            VariantClear(&v);
        EXPECT_EQ(VT_I4, V_VT(&result));
        return V_I4(&result);
    }

    SHORT Property(DISPID id)
    {
        DISPPARAMS none = {nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(S_OK, m_control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr));
        EXPECT_EQ(VT_I2, V_VT(&result));
        return V_I2(&result);
    }

    IDispatch* m_control = nullptr;
    IConnectionPoint* m_point = nullptr;
    CEventSink* m_sink = new CEventSink;
    DWORD m_cookie = 0;
};

TEST_F(TavlinXTest, DevicesCountFromOneAndTheirTextsComeBackAsDeviceAndMessage)
{
    EXPECT_EQ(1, Property(kTavlinXNumTavlins));
    EXPECT_EQ(0, Call(kTavlinXAddDeviceText, {kChanger, "tv"}, {1, 1, 0x01}));
    EXPECT_EQ(1, Property(kTavlinXNumDevices));
    ServerUnit().ClearReceived();
    EXPECT_EQ(0, Call(kTavlinXSend, {"tv:power"}));
    EXPECT_TRUE(ServerUnit().WaitForReceived(std::string("\x01\x1A\x00", 3), 5000));
    EXPECT_EQ(std::vector<std::string>{"tv|power "}, m_sink->WaitFor(1));
    EXPECT_EQ(0, Call(kTavlinXDeleteDevice, {"tv"}));
    EXPECT_EQ(0, Property(kTavlinXNumDevices));
}

TEST_F(TavlinXTest, RefusalsGiveMinusOneAndFireTheStockErrorEvent)
{
    const struct
    {
        const char* name;
        DISPID id;
        std::vector<std::string> texts;
        std::vector<LONG> numbers;
    } cases[] = {
        {"unknown device", kTavlinXSend, {"nosuch:power"}, {}},
        {"device on a second unit", kTavlinXSend, {"far:power"}, {}},
        {"missing file", kTavlinXAddDevice, {"Z:\\no\\such.cde", "gone"}, {1, 1, 0x01}},
    };
    // Unit 2 is the server's second unit, which it does not have.
    ASSERT_EQ(0, Call(kTavlinXAddDeviceText, {kChanger, "far"}, {1, 2, 0x01}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_sink->Clear();
        EXPECT_EQ(-1, Call(c.id, c.texts, c.numbers));
        std::vector<std::string> events = m_sink->WaitFor(1);
        ASSERT_EQ(size_t(1), events.size());
        EXPECT_EQ(0u, events[0].find("error:")) << events[0];
        EXPECT_GT(events[0].size(), strlen("error:")) << events[0];
    }
    EXPECT_EQ(0, Call(kTavlinXDeleteDevice, {"far"}));
    EXPECT_EQ(0, Property(kTavlinXNumDevices));
}

TEST_F(TavlinXTest, BadCallsAreRefusedByTheirDispatchError)
{
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocString(u"x");
    const struct
    {
        const char* name;
        DISPID id;
        WORD flags;
        UINT argumentCount;
        HRESULT expected;
    } cases[] = {
        {"no such member", 3, DISPATCH_METHOD, 0, DISP_E_MEMBERNOTFOUND},
        {"send without its text", kTavlinXSend, DISPATCH_METHOD, 0, DISP_E_BADPARAMCOUNT},
        {"add without its numbers", kTavlinXAddDeviceText, DISPATCH_METHOD, 1, DISP_E_BADPARAMCOUNT},
        {"unit count written", kTavlinXNumTavlins, DISPATCH_PROPERTYPUT, 1, DISP_E_MEMBERNOTFOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DISPPARAMS params = {&text, nullptr, c.argumentCount, 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(c.expected, m_control->Invoke(c.id, IID_NULL, 0, c.flags, &params, &result, nullptr, nullptr));
    }
    VariantClear(&text);
}

} // namespace
