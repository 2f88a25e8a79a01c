#include "platform/serial_port.h"

#include <algorithm>

#include "platform/platform_timeouts.h"
#include "platform/win32/comm_device_name.h"
#include "platform/win32/overlapped_op.h"

namespace tarnwick {

namespace {

constexpr DWORD kDriverBufferBytes = 2048;
constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr uint32_t kTransferBoundMs = static_cast<uint32_t>(kSerialWriteStall.count());

HANDLE handleOf(NativeHandle fd) { return reinterpret_cast<HANDLE>(fd); }

// The driver's error flags and counts; reading them clears its error state. False when the
// query fails.
bool driverStatus(HANDLE handle, DWORD& flags, COMSTAT& status) {
    flags = 0;
    status = COMSTAT{};
    return ClearCommError(handle, &flags, &status) != FALSE;
}

// One overlapped transfer waited for at most the stall bound; the bytes moved, or -1.
long transfer(HANDLE handle, bool write, uint8_t* bytes, DWORD count) {
    OverlappedOp op;
    const BOOL started = write ? WriteFile(handle, bytes, count, nullptr, op.get())
                               : ReadFile(handle, bytes, count, nullptr, op.get());
    DWORD done = 0;
    if (op.finish(handle, started, kTransferBoundMs, done) != OverlappedEnd::Done) return -1;
    return static_cast<long>(done);
}

}  // namespace

uint32_t baudRateOf(uint8_t baudIndex) {
    static constexpr uint32_t kRates[kBaudRateCount] = {9600, 19200, 38400, 57600, 115200};
    return baudIndex < kBaudRateCount ? kRates[baudIndex] : 0;
}

SerialPort::SerialPort(Clock& clock) : clock_(clock) {}

// Windows opens a COM port for one handle at a time, so no lock is held beside it.
SerialPort::~SerialPort() { close(); }

int SerialPort::open(const std::string& path, uint8_t baudIndex) {
    if (path.empty() || baudIndex >= kBaudRateCount) return 0;
    close();
    const HANDLE handle = CreateFileA(commDeviceName(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        clearError(static_cast<int>(GetLastError()));
        return 0;
    }
    fd_ = reinterpret_cast<NativeHandle>(handle);
    path_ = path;
    (void)SetCommMask(handle, 0);
    (void)SetupComm(handle, kDriverBufferBytes, kDriverBufferBytes);
    (void)purge();
    // Like a driver that refuses the settings, a failed configuration keeps the port open
    // but unusable until the next open or close.
    if (!configure(baudIndex)) {
        clearError(static_cast<int>(GetLastError()));
        return 0;
    }
    clock_.settleFor(kSerialOpenSettleWait);
    return 1;
}

// 8N1, DTR and RTS on, no XON/XOFF; every other line setting stays as the driver has it.
// No time-outs: reads ask only for bytes the driver already holds.
bool SerialPort::configure(uint8_t baudIndex) {
    const HANDLE handle = handleOf(fd_);
    COMMTIMEOUTS none{};
    if (!SetCommTimeouts(handle, &none)) return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    (void)GetCommState(handle, &dcb);
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = baudRateOf(baudIndex);
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    return SetCommState(handle, &dcb) != FALSE;
}

int SerialPort::close() {
    if (fd_ == kNoHandle) return 0;
    const HANDLE handle = handleOf(fd_);
    (void)SetCommMask(handle, 0);
    (void)purge();
    const BOOL closed = CloseHandle(handle);
    fd_ = kNoHandle;
    path_.clear();
    return closed ? 1 : 0;
}

int SerialPort::write(const uint8_t* bytes, size_t count) {
    if (fd_ == kNoHandle || count > MAXDWORD) return 0;
    const long done = transfer(handleOf(fd_), true, const_cast<uint8_t*>(bytes), static_cast<DWORD>(count));
    if (done == static_cast<long>(count)) return 1;
    // The error is kept; the driver's error state is cleared so the next transfer can run.
    clearError(static_cast<int>(done < 0 ? GetLastError() : ERROR_WRITE_FAULT));
    DWORD flags;
    COMSTAT status;
    (void)driverStatus(handleOf(fd_), flags, status);
    return 0;
}

size_t SerialPort::readDriver(uint8_t* buffer, size_t capacity) {
    const HANDLE handle = handleOf(fd_);
    DWORD flags;
    COMSTAT status;
    if (!driverStatus(handle, flags, status)) {
        clearError(static_cast<int>(GetLastError()));
        return 0;
    }
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(status.cbInQue, capacity));
    const long got = wanted == 0 ? 0 : transfer(handle, false, buffer, wanted);
    if (got > 0) return static_cast<size_t>(got);
    clearError(static_cast<int>(got < 0 ? GetLastError() : ERROR_NO_DATA));
    (void)driverStatus(handle, flags, status);
    return 0;
}

int SerialPort::read(uint8_t* bytes, size_t count) {
    if (fd_ == kNoHandle) return 0;
    auto fill = [this](uint8_t* buffer, size_t capacity) { return readDriver(buffer, capacity); };
    return cache_.take(bytes, count, fill) ? 1 : 0;
}

uint32_t SerialPort::bytesWaiting() {
    if (fd_ == kNoHandle) return 0;
    DWORD flags;
    COMSTAT status;
    if (!driverStatus(handleOf(fd_), flags, status)) {
        clearError(static_cast<int>(GetLastError()));
    } else if (flags != 0) {
        clearError(static_cast<int>(flags));
    }
    return static_cast<uint32_t>(cache_.size() + status.cbInQue);
}

int SerialPort::purge() {
    if (fd_ == kNoHandle) return 0;
    cache_.clear();
    return PurgeComm(handleOf(fd_), kPurgeAll) ? 1 : 0;
}

}  // namespace tarnwick
