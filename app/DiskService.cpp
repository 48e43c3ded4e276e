#include "app/DiskService.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QVariantMap>
#include <map>

#include "app/QtText.h"

namespace pwx {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
constexpr int kCallTimeoutMs = 3000;
constexpr int kEjectTimeoutMs = 30000;  // an unmount writes what is still cached

// A byte string of the service ("ay", ends with a zero byte) as text.
std::string ByteText(const QVariant& value) {
  QByteArray bytes = value.toByteArray();
  while (bytes.endsWith('\0')) bytes.chop(1);
  return bytes.toStdString();
}

std::vector<std::string> ByteTexts(const QVariant& value) {
  std::vector<std::string> texts;
  if (!value.canConvert<QDBusArgument>()) return texts;
  const auto list = value.value<QDBusArgument>();
  list.beginArray();
  while (!list.atEnd()) {
    QByteArray bytes;
    list >> bytes;
    texts.push_back(ByteText(bytes));
  }
  list.endArray();
  return texts;
}

bool IsInside(const std::string& folder, const std::string& root) {
  if (folder == root) return true;
  const std::string base = root.ends_with('/') ? root : root + '/';
  return folder.starts_with(base);
}

}  // namespace

DiskService::DiskService(QObject* parent, const QDBusConnection& bus) : QObject(parent), bus_(bus) {
  if (!bus_.isConnected()) return;
  const QString manager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
  bus_.connect(kService, kRoot, manager, QStringLiteral("InterfacesAdded"), this, SLOT(OnSignal()));
  bus_.connect(kService, kRoot, manager, QStringLiteral("InterfacesRemoved"), this,
               SLOT(OnSignal()));
  // A card is mounted a moment after it comes: its mount points change.
  bus_.connect(kService, QString(), QStringLiteral("org.freedesktop.DBus.Properties"),
               QStringLiteral("PropertiesChanged"), this, SLOT(OnSignal()));
}

void DiskService::OnSignal() {
  emit Changed();
}

std::optional<DiskInventory> DiskService::Read() const {
  if (!bus_.isConnected()) return std::nullopt;
  const QDBusMessage call = QDBusMessage::createMethodCall(
      kService, kRoot, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
      QStringLiteral("GetManagedObjects"));
  const QDBusMessage reply = bus_.call(call, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
    return std::nullopt;
  }
  DiskInventory inventory;
  const auto objects = reply.arguments().first().value<QDBusArgument>();
  objects.beginMap();
  while (!objects.atEnd()) {
    objects.beginMapEntry();
    QDBusObjectPath path;
    objects >> path;
    std::map<QString, QVariantMap> interfaces;
    objects.beginMap();
    while (!objects.atEnd()) {
      objects.beginMapEntry();
      QString name;
      QVariantMap properties;
      objects >> name >> properties;
      objects.endMapEntry();
      interfaces[name] = properties;
    }
    objects.endMap();
    objects.endMapEntry();

    const std::string object = path.path().toStdString();
    if (const auto drive = interfaces.find(kDrive); drive != interfaces.end()) {
      const QVariantMap& p = drive->second;
      inventory.Drives.push_back({object, p.value(QStringLiteral("Removable")).toBool(),
                                  p.value(QStringLiteral("MediaRemovable")).toBool(),
                                  p.value(QStringLiteral("Ejectable")).toBool(),
                                  p.value(QStringLiteral("CanPowerOff")).toBool()});
    }
    const auto block = interfaces.find(kBlock);
    const auto filesystem = interfaces.find(kFilesystem);
    if (block == interfaces.end() || filesystem == interfaces.end()) continue;
    const QVariantMap& p = block->second;
    DiskBlock found;
    found.Object = object;
    found.Device = ByteText(p.value(QStringLiteral("PreferredDevice")));
    if (found.Device.empty()) found.Device = ByteText(p.value(QStringLiteral("Device")));
    found.Label = p.value(QStringLiteral("IdLabel")).toString().toStdString();
    found.FileSystem = p.value(QStringLiteral("IdType")).toString().toStdString();
    found.Size = p.value(QStringLiteral("Size")).toULongLong();
    found.Drive = p.value(QStringLiteral("Drive")).value<QDBusObjectPath>().path().toStdString();
    if (found.Drive == "/") found.Drive.clear();
    found.HintIgnore = p.value(QStringLiteral("HintIgnore")).toBool();
    found.HintSystem = p.value(QStringLiteral("HintSystem")).toBool();
    found.ReadOnly = p.value(QStringLiteral("ReadOnly")).toBool();
    found.MountPoints = ByteTexts(filesystem->second.value(QStringLiteral("MountPoints")));
    inventory.Blocks.push_back(std::move(found));
  }
  objects.endMap();
  return inventory;
}

std::optional<KnownCard> DiskService::CardHolding(const QString& folder) const {
  const auto inventory = Read();
  if (!inventory) return std::nullopt;
  const std::string path = NativePath(folder);
  for (const KnownCard& card : RemovableCards(inventory->Blocks, inventory->Drives)) {
    if (!card.Root.empty() && IsInside(path, card.Root)) return card;
  }
  return std::nullopt;
}

std::optional<QString> DiskService::Eject(const KnownCard& card) const {
  const auto call = [this](const std::string& object, const QString& interface,
                           const QString& method) -> std::optional<QString> {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kService, Text(object), interface, method);
    message << QVariantMap();
    const QDBusMessage reply = bus_.call(message, QDBus::Block, kEjectTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return std::nullopt;
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
  };
  if (auto failure = call(card.Block.Object, kFilesystem, QStringLiteral("Unmount"))) {
    return QStringLiteral("The card could not be unmounted: ") + *failure;
  }
  const QString method =
      card.Drive.CanPowerOff ? QStringLiteral("PowerOff") : QStringLiteral("Eject");
  if (!card.Drive.CanPowerOff && !card.Drive.Ejectable) return std::nullopt;
  if (auto failure = call(card.Drive.Object, kDrive, method)) {
    // Unmounted is safe to take out already; a reader that cannot power off says so.
    if (card.Drive.CanPowerOff && card.Drive.Ejectable &&
        !call(card.Drive.Object, kDrive, QStringLiteral("Eject"))) {
      return std::nullopt;
    }
    return QStringLiteral("The card was unmounted but its drive could not be powered off: ") +
           *failure;
  }
  return std::nullopt;
}

}  // namespace pwx
