#pragma once

#include <memory>
#include <string>
#include <thread>

#include "hosts/preview/FrameStore.h"
#include "hosts/preview/MainThreadQueue.h"
#include "hosts/preview/RequestGuard.h"

namespace httplib {
class Server;
}

namespace corvale::preview {

class PreviewTabs;

// The page's server on 127.0.0.1, on threads of its own. It serves the page, the latest frame and a
// stream of frame notices from the FrameStore, and hands each action to the main thread through the
// queue, waiting for the answer.
//
// Frames reach the browser as server-sent events that carry the panel's state and the frame's number;
// the page then loads that frame (a JPEG, see FrameEncoder) as an ordinary image. Server-sent events
// need nothing beyond plain HTTP (cpp-httplib has no WebSocket), push a frame the moment it exists
// (long-polling would cost a request per frame and a gap between them), and the browser's EventSource
// reconnects by itself after a restart. Frames that come faster than a browser loads them are skipped, never
// queued.
class PreviewServer {
public:
    PreviewServer(FrameStore& frames, MainThreadQueue& mainThread, PreviewTabs& tabs);
    ~PreviewServer();
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    // Binds 127.0.0.1:port (0: a free one) and starts serving; false when the port cannot be bound.
    bool start(int port);
    int port() const { return m_port; }
    // The page's address, token included.
    std::string address() const;
    // Ends the event streams and the server's threads.
    void stop();

private:
    void installRoutes();

    FrameStore& m_frames;
    MainThreadQueue& m_mainThread;
    PreviewTabs& m_tabs;
    std::unique_ptr<httplib::Server> m_server;
    std::unique_ptr<RequestGuard> m_guard;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace corvale::preview
