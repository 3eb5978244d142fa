#include "CompoundFile_p.h"

#include <QtEndian>

#include <algorithm>

namespace reports {

namespace {

constexpr quint32 FreeSector = 0xFFFFFFFF;
constexpr quint32 EndOfChain = 0xFFFFFFFE;
constexpr quint32 FatSector = 0xFFFFFFFD;
constexpr quint32 DifatSector = 0xFFFFFFFC;
constexpr quint32 NoStream = 0xFFFFFFFF;
constexpr int SectorSize = 512;
constexpr int IdsPerSector = SectorSize / 4;
constexpr int HeaderDifat = 109;

void put16(QByteArray& b, int at, quint16 v) {
    qToLittleEndian(v, b.data() + at);
}
void put32(QByteArray& b, int at, quint32 v) {
    qToLittleEndian(v, b.data() + at);
}

QByteArray directoryEntry(const QString& name, quint8 type, quint32 child, quint32 start, quint32 size) {
    QByteArray e(128, '\0');
    if (!name.isEmpty()) {
        for (int i = 0; i < name.size() && i < 31; ++i)
            put16(e, 2 * i, name[i].unicode());
        put16(e, 64, quint16(2 * (std::min<qsizetype>(name.size(), 31) + 1)));
    }
    e[66] = char(type);
    e[67] = type ? 1 : 0; // black
    put32(e, 68, NoStream);
    put32(e, 72, NoStream);
    put32(e, 76, child);
    put32(e, 116, start);
    put32(e, 120, size);
    return e;
}

} // namespace

QByteArray compoundFile(const QString& streamName, QByteArray stream) {
    if (stream.size() < 4096) stream.append(QByteArray(4096 - stream.size(), '\0'));
    const quint32 streamSize = quint32(stream.size());
    const int n = int((stream.size() + SectorSize - 1) / SectorSize);
    stream.append(QByteArray(qsizetype(n) * SectorSize - stream.size(), '\0'));

    int fatSectors = 1, difatSectors = 0;
    for (;; ++fatSectors) {
        difatSectors =
            fatSectors > HeaderDifat ? (fatSectors - HeaderDifat + IdsPerSector - 2) / (IdsPerSector - 1) : 0;
        if (fatSectors * IdsPerSector >= n + 1 + fatSectors + difatSectors) break;
    }
    const quint32 dirSector = quint32(n);
    const quint32 firstFat = dirSector + 1;
    const quint32 firstDifat = firstFat + quint32(fatSectors);

    QByteArray fat(qsizetype(fatSectors) * SectorSize, char(0xFF));
    for (int i = 0; i < n; ++i)
        put32(fat, 4 * i, i + 1 < n ? quint32(i + 1) : EndOfChain);
    put32(fat, 4 * int(dirSector), EndOfChain);
    for (int i = 0; i < fatSectors; ++i)
        put32(fat, 4 * int(firstFat + i), FatSector);
    for (int i = 0; i < difatSectors; ++i)
        put32(fat, 4 * int(firstDifat + i), DifatSector);

    QByteArray header(SectorSize, '\0');
    const uchar signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::copy(signature, signature + 8, header.begin());
    put16(header, 24, 0x003E);
    put16(header, 26, 0x0003);
    put16(header, 28, 0xFFFE);
    put16(header, 30, 9);
    put16(header, 32, 6);
    put32(header, 44, quint32(fatSectors));
    put32(header, 48, dirSector);
    put32(header, 56, 4096);
    put32(header, 60, EndOfChain);
    put32(header, 68, difatSectors ? firstDifat : EndOfChain);
    put32(header, 72, quint32(difatSectors));
    for (int i = 0; i < HeaderDifat; ++i)
        put32(header, 76 + 4 * i, i < fatSectors ? firstFat + quint32(i) : FreeSector);

    QByteArray difat(qsizetype(difatSectors) * SectorSize, char(0xFF));
    for (int d = 0; d < difatSectors; ++d) {
        for (int k = 0; k < IdsPerSector - 1; ++k) {
            const int fatIndex = HeaderDifat + d * (IdsPerSector - 1) + k;
            if (fatIndex < fatSectors) put32(difat, d * SectorSize + 4 * k, firstFat + quint32(fatIndex));
        }
        put32(difat, d * SectorSize + 4 * (IdsPerSector - 1),
              d + 1 < difatSectors ? firstDifat + quint32(d + 1) : EndOfChain);
    }

    QByteArray directory;
    directory += directoryEntry(QStringLiteral("Root Entry"), 5, 1, EndOfChain, 0);
    directory += directoryEntry(streamName, 2, NoStream, 0, streamSize);
    directory += directoryEntry({}, 0, NoStream, 0, 0);
    directory += directoryEntry({}, 0, NoStream, 0, 0);

    QByteArray file;
    file.reserve(header.size() + stream.size() + directory.size() + fat.size() + difat.size());
    file += header;
    file += stream;
    file += directory;
    file += fat;
    file += difat;
    return file;
}

} // namespace reports
