// The RS-232C byte pipe on a termios device: exclusive, 8N1, raw, DTR and RTS on.
// An advisory lock (flock on a descriptor of its own) holds the device from the first
// open to the destruction of the port, or to an open of another device: a procedure that
// closes and reopens the port between its steps keeps others off the device meanwhile.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "link/transport.h"
#include "platform/clock.h"
#include "platform/read_cache.h"

namespace tarnwick {

constexpr uint8_t kBaudRateCount = 5;

// Bits per second of baudIndex 0..4; 0 for any other index.
uint32_t baudRateOf(uint8_t baudIndex);

class SerialPort final : public Transport {
public:
    explicit SerialPort(Clock& clock);
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens and configures the device at bit rate baudIndex; 1 on success. An empty path
    // or an unknown rate leaves an open device as it was.
    int open(const std::string& devicePath, uint8_t baudIndex);
    // Closes the device; its advisory lock stays.
    int close() override;
    int write(const uint8_t* bytes, size_t count) override;
    int read(uint8_t* bytes, size_t count) override;
    uint32_t bytesWaiting() override;
    int purge() override;
    NativeHandle waitHandle() const override { return fd_; }

    bool isOpen() const { return fd_ != kNoHandle; }
    const std::string& devicePath() const { return path_; }
    uint32_t errors() const { return errors_; }

private:
    bool configure(uint8_t baudIndex);
    void clearError(int err) { errors_ = static_cast<uint32_t>(err); }
    size_t readDriver(uint8_t* buffer, size_t capacity);
    bool holdDevice(const std::string& path);
    void releaseDevice();

    Clock& clock_;
    NativeHandle fd_ = kNoHandle;
    std::string path_;
    NativeHandle holdFd_ = kNoHandle;  // carries the advisory lock on heldPath_
    std::string heldPath_;
    uint32_t errors_ = 0;
    // Bytes already taken from the driver but not yet handed to the reader.
    ReadCache cache_;
};

}  // namespace tarnwick
