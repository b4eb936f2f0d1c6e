#pragma once
// A pseudo-terminal whose slave side a test opens as "COM n" through a link in the ports folder;
// the test holds the master side and plays the instrument.
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/com_ports.h"

namespace sqtest {

class Pty {
public:
    explicit Pty(int com) : m_com(com) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) return;
        m_slave = ::ptsname(m_master);
        std::filesystem::create_directories(sq::comPortsFolder());
        std::filesystem::remove(entry());
        std::filesystem::create_symlink(m_slave, entry());
    }
    ~Pty() {
        std::filesystem::remove(entry());
        if (m_master >= 0) ::close(m_master);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    [[nodiscard]] bool ok() const { return m_master >= 0 && !m_slave.empty(); }
    [[nodiscard]] const std::string& slavePath() const { return m_slave; }
    [[nodiscard]] int master() const { return m_master; }
    [[nodiscard]] std::string entry() const { return sq::comPortsFolder() + "/COM" + std::to_string(m_com); }

    void send(const std::vector<uint8_t>& bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t w = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (w > 0) done += static_cast<size_t>(w);
        }
    }

    // What the program wrote, waiting up to `ms` for `count` bytes.
    std::vector<uint8_t> receive(size_t count, int ms = 1000) const {
        std::vector<uint8_t> out;
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (out.size() < count && std::chrono::steady_clock::now() < end) {
            uint8_t buf[4096];
            ssize_t r = ::read(m_master, buf, sizeof buf);
            if (r > 0)
                out.insert(out.end(), buf, buf + r);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return out;
    }

    // The slave side's line settings (the master answers for its slave).
    [[nodiscard]] termios slaveSettings() const {
        termios t{};
        ::tcgetattr(m_master, &t);
        return t;
    }

private:
    int m_com;
    int m_master = -1;
    std::string m_slave;
};

}  // namespace sqtest
