#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "delivery/CardVolumes.h"

namespace pwx {

// What the system's disk service (UDisks2) knows at one moment: the file systems on block
// devices and the drives they are on.
struct DiskInventory {
  std::vector<DiskBlock> Blocks;
  std::vector<DiskDrive> Drives;
};

// The system's disk service over D-Bus: what it knows of blocks and drives, a signal when a
// card comes, goes or is mounted, and the unmount and power-off of a card. Where the service
// does not run it answers nothing, and the callers keep to the mount points.
class DiskService : public QObject {
  Q_OBJECT

 public:
  // `bus` is the system bus but in tests, which offer a service of their own.
  explicit DiskService(QObject* parent = nullptr,
                       const QDBusConnection& bus = QDBusConnection::systemBus());

  std::optional<DiskInventory> Read() const;

  // The card that holds `folder` (its mount point or a folder inside it), when the service
  // knows it for removable.
  std::optional<KnownCard> CardHolding(const QString& folder) const;

  // Unmounts the card's file system and powers its drive off (or ejects it), so that it can be
  // taken out; the failure's text, or nothing.
  std::optional<QString> Eject(const KnownCard& card) const;

 signals:
  void Changed();

 private slots:
  void OnSignal();

 private:
  QDBusConnection bus_;
};

}  // namespace pwx
