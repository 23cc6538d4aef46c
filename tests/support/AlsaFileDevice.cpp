#include "tests/support/AlsaFileDevice.h"

#include "tests/support/TestData.h"

#include <stdio.h>
#include <stdlib.h>

CAlsaFileDevice::CAlsaFileDevice() : m_home("zym-alsa")
{
    if (!m_home.IsValid())
        return;
    std::string config = "pcm.!default { type file slave.pcm \"null\" file \"" + m_home.UnixPath("OUT") +
                         "\" format \"raw\" truncate false }\n";
    FILE* f = fopen(m_home.UnixPath(".asoundrc").c_str(), "wb");
    if (!f)
        return;
    fwrite(config.data(), 1, config.size(), f);
    fclose(f);
    setenv("HOME", m_home.UnixPath("").c_str(), 1);
}

// Without truncation, each open of the device makes a file of its own: OUT,
// then OUT.0001, OUT.0002, ...
std::string CAlsaFileDevice::Played() const
{
    std::string played = ReadBytes(m_home.UnixPath("OUT"));
    for (int n = 1;; n++) {
        char name[16];
        snprintf(name, sizeof(name), "OUT.%04d", n);
        if (!m_home.Exists(name))
            return played;
        played += ReadBytes(m_home.UnixPath(name));
    }
}

std::string WithoutSilence(const std::string& pcm)
{
    std::string sound;
    sound.reserve(pcm.size());
    for (size_t i = 0; i + 2 <= pcm.size(); i += 2) {
        if (pcm[i] || pcm[i + 1])
            sound.append(pcm, i, 2);
    }
    return sound;
}
