// The disk service's client against a disk service of the test's own, on a private bus of its
// own: what it reads of blocks and drives, the card it finds for a folder, the calls an eject
// makes and what it says when one fails, and the signal when a card comes.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <map>

#include "app/DiskService.h"

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;
Q_DECLARE_METATYPE(Interfaces)
Q_DECLARE_METATYPE(ManagedObjects)

namespace pwx {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kCardBlock = QStringLiteral("/org/freedesktop/UDisks2/block_devices/sdb1");
const QString kCardDrive = QStringLiteral("/org/freedesktop/UDisks2/drives/Reader");
const QString kSystemBlock = QStringLiteral("/org/freedesktop/UDisks2/block_devices/sda1");
const QString kSystemDrive = QStringLiteral("/org/freedesktop/UDisks2/drives/Disk");

// A byte string of the service: its text and a zero byte.
QByteArray Bytes(const char* text) {
  return QByteArray(text, static_cast<int>(qstrlen(text)) + 1);
}

// A disk service with a card in a reader and the system's disk, that answers from a thread
// of its own (the client waits for each answer) and keeps the calls made to it.
class FakeDisks : public QDBusVirtualObject {
 public:
  // What the calls of this name answer: nothing for success, else the error's message.
  std::map<QString, QString> Failures;
  bool CardCanPowerOff = true;

  QStringList Calls() {
    QMutexLocker lock(&mutex_);
    return calls_;
  }

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() == QStringLiteral("GetManagedObjects")) {
      connection.send(message.createReply(QVariant::fromValue(Objects())));
      return true;
    }
    {
      QMutexLocker lock(&mutex_);
      calls_ << message.path().section(QLatin1Char('/'), -1) + QLatin1Char(' ') + message.member();
    }
    const auto failure = Failures.find(message.member());
    connection.send(
        failure == Failures.end()
            ? message.createReply()
            : message.createErrorReply(QStringLiteral("org.freedesktop.UDisks2.Error.Failed"),
                                       failure->second));
    return true;
  }

  ManagedObjects Objects() const {
    ManagedObjects objects;
    objects[QDBusObjectPath(kCardDrive)][QStringLiteral("org.freedesktop.UDisks2.Drive")] = {
        {QStringLiteral("Removable"), true},
        {QStringLiteral("MediaRemovable"), true},
        {QStringLiteral("Ejectable"), true},
        {QStringLiteral("CanPowerOff"), CardCanPowerOff}};
    objects[QDBusObjectPath(kSystemDrive)][QStringLiteral("org.freedesktop.UDisks2.Drive")] = {
        {QStringLiteral("Removable"), false}, {QStringLiteral("CanPowerOff"), false}};
    Interfaces& card = objects[QDBusObjectPath(kCardBlock)];
    card[QStringLiteral("org.freedesktop.UDisks2.Block")] = {
        {QStringLiteral("Device"), Bytes("/dev/sdb1")},
        {QStringLiteral("PreferredDevice"), Bytes("/dev/sdb1")},
        {QStringLiteral("IdLabel"), QStringLiteral("PLAYER")},
        {QStringLiteral("IdType"), QStringLiteral("vfat")},
        {QStringLiteral("Size"), QVariant::fromValue(quint64(7948206080))},
        {QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(kCardDrive))},
        {QStringLiteral("HintIgnore"), false},
        {QStringLiteral("HintSystem"), false},
        {QStringLiteral("ReadOnly"), false}};
    card[QStringLiteral("org.freedesktop.UDisks2.Filesystem")] = {
        {QStringLiteral("MountPoints"),
         QVariant::fromValue(QByteArrayList{Bytes("/media/engineer/PLAYER")})}};
    Interfaces& system = objects[QDBusObjectPath(kSystemBlock)];
    system[QStringLiteral("org.freedesktop.UDisks2.Block")] = {
        {QStringLiteral("Device"), Bytes("/dev/sda1")},
        {QStringLiteral("IdType"), QStringLiteral("ext4")},
        {QStringLiteral("Drive"), QVariant::fromValue(QDBusObjectPath(kSystemDrive))},
        {QStringLiteral("HintSystem"), true}};
    system[QStringLiteral("org.freedesktop.UDisks2.Filesystem")] = {
        {QStringLiteral("MountPoints"), QVariant::fromValue(QByteArrayList{Bytes("/")})}};
    return objects;
  }

 private:
  QMutex mutex_;
  QStringList calls_;
};

}  // namespace

class DiskServiceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    qDBusRegisterMetaType<QByteArrayList>();
    qDBusRegisterMetaType<Interfaces>();
    qDBusRegisterMetaType<ManagedObjects>();
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) QSKIP("dbus-daemon is not installed: no private bus to test on");
    QVERIFY(folder_.isValid());
    const QString config = folder_.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "<busconfig><type>session</type><listen>unix:dir=" + folder_.path().toUtf8() +
        "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
        "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>");
    file.close();
    daemon_.start(daemon, {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                           QStringLiteral("--print-address")});
    QVERIFY(daemon_.waitForStarted());
    QVERIFY(daemon_.waitForReadyRead(10000));
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    QVERIFY(!address_.isEmpty());
    QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("service"));
    QVERIFY(service.isConnected());
    QVERIFY(service.registerVirtualObject(kRoot, &fake_, QDBusConnection::SubPath));
    fake_.moveToThread(&thread_);
    thread_.start();
    QVERIFY(service.registerService(kService));
  }

  void cleanupTestCase() {
    QDBusConnection::disconnectFromBus(QStringLiteral("service"));
    QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    thread_.quit();
    thread_.wait();
    daemon_.kill();
    daemon_.waitForFinished();
  }

  void readsTheBlocksAndDrivesTheServiceKnows() {
    DiskService disks(nullptr, Client());
    const auto inventory = disks.Read();
    QVERIFY(inventory);
    QCOMPARE(inventory->Drives.size(), std::size_t(2));
    QCOMPARE(inventory->Blocks.size(), std::size_t(2));
    const auto card = std::find_if(inventory->Blocks.begin(), inventory->Blocks.end(),
                                   [](const DiskBlock& b) { return b.Device == "/dev/sdb1"; });
    QVERIFY(card != inventory->Blocks.end());
    QCOMPARE(card->Label, std::string("PLAYER"));
    QCOMPARE(card->FileSystem, std::string("vfat"));
    QCOMPARE(card->Size, std::uint64_t(7948206080));
    QCOMPARE(card->Drive, kCardDrive.toStdString());
    QCOMPARE(card->MountPoints, std::vector<std::string>{"/media/engineer/PLAYER"});
  }

  void findsTheCardThatHoldsAFolder() {
    DiskService disks(nullptr, Client());
    const auto card = disks.CardHolding(QStringLiteral("/media/engineer/PLAYER/site"));
    QVERIFY(card);
    QCOMPARE(card->Block.Device, std::string("/dev/sdb1"));
    QCOMPARE(card->Root, std::string("/media/engineer/PLAYER"));
    QVERIFY(!disks.CardHolding(QStringLiteral("/home/engineer/site")));
    // Beside the mount point is not inside it.
    QVERIFY(!disks.CardHolding(QStringLiteral("/media/engineer/PLAYER2")));
  }

  void ejectUnmountsThenPowersOffAndSaysWhatFailed_data() {
    QTest::addColumn<bool>("canPowerOff");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("says");
    const QString block = QStringLiteral("sdb1 Unmount");
    const QString off = QStringLiteral("Reader PowerOff");
    const QString eject = QStringLiteral("Reader Eject");
    QTest::newRow("powered off") << true << QStringList() << QStringList{block, off} << QString();
    QTest::newRow("busy") << true << QStringList{QStringLiteral("Unmount")} << QStringList{block}
                          << QStringLiteral("The card could not be unmounted: refused");
    QTest::newRow("ejected instead") << true << QStringList{QStringLiteral("PowerOff")}
                                     << QStringList{block, off, eject} << QString();
    QTest::newRow("neither") << true
                             << QStringList{QStringLiteral("PowerOff"), QStringLiteral("Eject")}
                             << QStringList{block, off, eject}
                             << QStringLiteral(
                                    "The card was unmounted but its drive could not be powered "
                                    "off: refused");
    QTest::newRow("reader that only ejects")
        << false << QStringList() << QStringList{block, eject} << QString();
  }

  void ejectUnmountsThenPowersOffAndSaysWhatFailed() {
    QFETCH(bool, canPowerOff);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, calls);
    QFETCH(QString, says);
    fake_.CardCanPowerOff = canPowerOff;
    fake_.Failures.clear();
    for (const QString& method : failing) fake_.Failures[method] = QStringLiteral("refused");
    DiskService disks(nullptr, Client());
    const auto card = disks.CardHolding(QStringLiteral("/media/engineer/PLAYER"));
    QVERIFY(card);
    const QStringList before = fake_.Calls();
    const std::optional<QString> failure = disks.Eject(*card);
    QCOMPARE(fake_.Calls().mid(before.size()), calls);
    QCOMPARE(failure.value_or(QString()), says);
  }

  void saysWhenACardComes() {
    DiskService disks(nullptr, Client());
    QSignalSpy changed(&disks, &DiskService::Changed);
    QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("service"));
    QDBusMessage added =
        QDBusMessage::createSignal(kRoot, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
                                   QStringLiteral("InterfacesAdded"));
    added << QVariant::fromValue(QDBusObjectPath(kCardBlock))
          << QVariant::fromValue(fake_.Objects()[QDBusObjectPath(kCardBlock)]);
    // The client's watch on the service reaches the bus on a connection of its own, in its
    // own time: the signal is sent again until it is seen.
    for (int tries = 0; tries < 50 && changed.isEmpty(); ++tries) {
      QVERIFY(service.send(added));
      changed.wait(100);
    }
    QVERIFY(!changed.isEmpty());
  }

  void answersNothingWhereNoServiceRuns() {
    QDBusConnection::connectToBus(address_, QStringLiteral("service")).unregisterService(kService);
    DiskService disks(nullptr, Client());
    QVERIFY(!disks.Read());
    QVERIFY(!disks.CardHolding(QStringLiteral("/media/engineer/PLAYER")));
  }

 private:
  QDBusConnection Client() const {
    return QDBusConnection::connectToBus(address_, QStringLiteral("client"));
  }

  QTemporaryDir folder_;
  QProcess daemon_;
  QString address_;
  QThread thread_;
  FakeDisks fake_;
};

}  // namespace pwx

QTEST_GUILESS_MAIN(pwx::DiskServiceTest)
#include "DiskServiceTest.moc"
