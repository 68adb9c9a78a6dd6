// The server in process: real sockets on the loopback, a receiver whose
// transfer is held until the test lets it go. Run under the sanitizers too,
// where a client gone while its set is on its way would show as a use after
// free.

#include "rigctld/rig_server.h"
#include "usb/usb_library.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

namespace {

using namespace vexa;

constexpr std::int32_t kTransferTimeoutMs = 800;

// A receiver that takes every word, but only once the test releases the
// transfer, as one that answers slowly does.
class HeldReceiver final : public UsbLibrary {
public:
    std::int32_t vb_usb_init() override { return 0; }
    std::int32_t vb_usb_open(std::int32_t, std::int32_t, std::int32_t) override { return 7; }
    std::int32_t vb_usb_close(std::int32_t) override { return 0; }

    std::int32_t vb_usb_control_msg(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                    std::int32_t, const std::uint8_t*, std::int32_t size,
                                    std::int32_t) override
    {
        std::unique_lock lock(mutex_);
        ++arrived_;
        released_.wait(lock, [this] { return releases_ > 0; });
        --releases_;
        return size;
    }

    int arrived()
    {
        std::lock_guard lock(mutex_);
        return arrived_;
    }

    void release()
    {
        std::lock_guard lock(mutex_);
        ++releases_;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    int arrived_ = 0;
    int releases_ = 0;
};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

} // namespace

class RigServerTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        receiver_ = std::make_unique<HeldReceiver>();
        server_ = std::make_unique<RigServer>(*receiver_, RigState{}, kTransferTimeoutMs);
        options_.listenAddress = "127.0.0.1";
        options_.port = freePort();
        QVERIFY(!server_->listen(options_));
        received_.clear();
    }

    void cleanup()
    {
        // Whatever a test left held goes, so that the worker can end.
        for (int i = 0; i < 4; ++i)
            receiver_->release();
        server_.reset();
    }

    void linesSentWhileItsSetIsOnItsWayAreAnsweredInOrder()
    {
        QTcpSocket client;
        connectTo(client);
        client.write("F 14074000\n");
        QTRY_COMPARE(receiver_->arrived(), 1);
        client.write("f\nv\n");
        QTest::qWait(50); // the two lines are there before the set is over
        receiver_->release();
        QTRY_COMPARE(answers(client), QByteArray("RPRT 0\n14074000\nVFOA\n"));
    }

    void aClientThatHangsUpWhileItsSetIsOnItsWayHarmsNoOne()
    {
        {
            QTcpSocket leaving;
            connectTo(leaving);
            leaving.write("F 14074000\n");
            QTRY_COMPARE(receiver_->arrived(), 1);
            leaving.abort();
        }
        QTcpSocket staying;
        connectTo(staying);
        staying.write("f\n"); // a read waits for no other client's set
        QTRY_COMPARE(answers(staying), QByteArray("0\n"));
        staying.write("F 7000000\nf\n");
        QTest::qWait(50); // the server sees the first client gone
        receiver_->release();
        QTRY_COMPARE(receiver_->arrived(), 2);
        receiver_->release();
        QTRY_COMPARE(answers(staying), QByteArray("0\nRPRT 0\n7000000\n"));
    }

    void oneClientsVfoNeverRedirectsAnothersSets()
    {
        QTcpSocket splitting;
        QTcpSocket tracking;
        connectTo(splitting);
        connectTo(tracking);
        splitting.write("V VFOB\n");
        QTRY_COMPARE(answers(splitting), QByteArray("RPRT 0\n"));
        tracking.write("F 145800000\n");
        QTRY_COMPARE(receiver_->arrived(), 1);
        receiver_->release();
        QTRY_COMPARE(answers(tracking), QByteArray("RPRT 0\n"));
    }

private:
    void connectTo(QTcpSocket& client)
    {
        client.connectToHost(QHostAddress::LocalHost, options_.port);
        QVERIFY(client.waitForConnected(5000));
    }

    QByteArray answers(QTcpSocket& client)
    {
        received_[&client] += client.readAll();
        return received_[&client];
    }

    std::unique_ptr<HeldReceiver> receiver_;
    std::unique_ptr<RigServer> server_;
    ServerOptions options_;
    std::map<QTcpSocket*, QByteArray> received_;
};

QTEST_GUILESS_MAIN(RigServerTest)
#include "rig_server_test.moc"
