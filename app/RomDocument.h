#pragma once

#include "graphics/Renderer.h"
#include "rom/RomChange.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace drovak::app {

// The ROM image the window works on, and what its pages share of it: its path, the column the
// level view starts at and the picture last drawn. Every change to a ROM image is made here, or
// reported here when a page made it (a compress), and each one is told by one `changed` signal,
// after which the pages draw their pictures anew. It holds no control; questions are asked by
// the window before it calls.
class RomDocument final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The ROM image the pages read and write.
    QString RomPath;
    // The first block column of the level on show.
    uint16_t ScrollColumn = 0;
    // The picture last drawn, as the preview shows it.
    drovak::FrameBuffer FrameBuffer{};

    // The last change to the ROM image at path undone (or redone).
    RomChange Undo(const std::string& path);
    // The header checksum of the ROM image at path stored as computed. RefusedError when it
    // holds none; nothing is written when it is right already (RomChange::written false).
    RomChange FixChecksum(const std::string& path);
    // A change made elsewhere (a compress, a patch applied by a task): `summary` is what the
    // status line says of it.
    void Changed(const std::string& path, const std::string& summary);

signals:
    // The ROM image at `path` changed; `summary` says what happened.
    void changed(const QString& path, const QString& summary);
};

} // namespace drovak::app
