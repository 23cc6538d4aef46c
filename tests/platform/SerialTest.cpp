// A pty-backed COM port carries bytes both ways through the Win32 serial calls.
#include "tests/support/TestFramework.h"

#include "tests/support/PtySerial.h"
#include "tests/support/SerialCommRegistry.h"

#include <string>

namespace {

std::string AllByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes;
}

class SerialPort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string path = "\\\\.\\" + m_pty.Name();
        m_handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, m_handle) << "error " << GetLastError();
        ASSERT_TRUE(SetupComm(m_handle, 16384, 16384));
        DCB dcb = {};
        dcb.DCBlength = sizeof dcb;
        ASSERT_TRUE(GetCommState(m_handle, &dcb));
        dcb.BaudRate = 38400;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        dcb.fBinary = TRUE;
        dcb.fOutX = dcb.fInX = FALSE;
        dcb.fParity = FALSE;
        dcb.fNull = FALSE;
        ASSERT_TRUE(SetCommState(m_handle, &dcb));
        COMMTIMEOUTS timeouts = {MAXDWORD, 0, 0, 50, 0};
        ASSERT_TRUE(SetCommTimeouts(m_handle, &timeouts));
    }

    void TearDown() override
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }

    // Reads until n bytes have come or two seconds have passed.
    std::string ReadPort(size_t n)
    {
        std::string bytes;
        DWORD deadline = GetTickCount() + 2000;
        while (bytes.size() < n && GetTickCount() < deadline) {
            char block[512];
            DWORD got = 0;
            if (!ReadFile(m_handle, block, sizeof block, &got, nullptr))
                break;
            bytes.append(block, got);
            if (!got)
                Sleep(10);
        }
        return bytes;
    }

    CPtySerial m_pty;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

TEST_F(SerialPort, ProgramToDeviceCarriesEveryByteValue)
{
    std::string bytes = AllByteValues();
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(m_handle, bytes.data(), DWORD(bytes.size()), &written, nullptr));
    EXPECT_EQ(bytes.size(), written);
    EXPECT_EQ(bytes, m_pty.ReadExact(bytes.size(), 2000));
}

TEST_F(SerialPort, DeviceToProgramCarriesEveryByteValue)
{
    std::string bytes = AllByteValues();
    ASSERT_TRUE(m_pty.Write(bytes));
    EXPECT_EQ(bytes, ReadPort(bytes.size()));
}

TEST_F(SerialPort, ReadReturnsAtOnceWhenNothingCame)
{
    char block[16];
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(m_handle, block, sizeof block, &got, nullptr));
    EXPECT_EQ(0u, got);
}

TEST_F(SerialPort, PurgeDropsPendingInput)
{
    ASSERT_TRUE(m_pty.Write("stale"));
    Sleep(100);
    EXPECT_TRUE(PurgeComm(m_handle, PURGE_RXCLEAR | PURGE_TXCLEAR));
    ASSERT_TRUE(m_pty.Write("fresh"));
    EXPECT_EQ("fresh", ReadPort(5));
}

TEST(PtySerialFixture, RegistersPortAndCleansUp)
{
    int port;
    {
        CPtySerial first;
        CPtySerial second;
        port = first.Port();
        EXPECT_NE(first.Port(), second.Port());
        EXPECT_GE(first.Port(), CPtySerial::kFirstFreePort);
        EXPECT_TRUE(SerialCommRegistry::HasPort(first.Port()));
        EXPECT_TRUE(SerialCommRegistry::HasPort(second.Port()));
    }
    EXPECT_FALSE(SerialCommRegistry::HasPort(port));
    std::string path = "\\\\.\\COM" + std::to_string(port);
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, handle);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

TEST(PtySerialFixture, GivenPortOpensUnderItsShortName)
{
    CPtySerial pty(7);
    EXPECT_EQ("COM7", pty.Name());
    HANDLE handle = CreateFileA("COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    DWORD written = 0;
    WriteFile(handle, "\x02ok\x03", 4, &written, nullptr);
    EXPECT_EQ(std::string("\x02ok\x03"), pty.ReadExact(4, 2000));
    CloseHandle(handle);
}

} // namespace
