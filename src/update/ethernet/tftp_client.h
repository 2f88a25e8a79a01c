// The network module's TFTP client.
#pragma once

namespace tarnwick {

class TftpClient {
public:
    virtual ~TftpClient() = default;
};

}  // namespace tarnwick
