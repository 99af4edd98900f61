#include "media/CabinetWriter.h"

#include "core/FrenchText.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tav {

namespace {

constexpr int kBlockSize = 32768;
constexpr int kHeaderSize = 36;
constexpr int kFolderSize = 8;
constexpr int kFileHeaderSize = 16;
constexpr int kDataHeaderSize = 8;
constexpr quint16 kCompressNone = 0;
constexpr quint16 kCompressMszip = 1;
constexpr quint16 kAttributeArchive = 0x20;
constexpr quint16 kAttributeNameIsUtf8 = 0x80;
// Blocks compressed together by the threads before they are written.
constexpr int kBlocksPerBatch = 64;

void put16(std::vector<uint8_t>& out, quint32 v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, quint32 v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// The format's checksum: the exclusive or of the little-endian 32-bit words,
// the last partial word taken with its bytes in reverse order.
quint32 checksum(const uint8_t* data, size_t size, quint32 seed)
{
    quint32 sum = seed;
    size_t words = size / 4;
    for (; words > 0; --words, data += 4)
        sum ^= quint32(data[0]) | quint32(data[1]) << 8 | quint32(data[2]) << 16 |
               quint32(data[3]) << 24;
    quint32 last = 0;
    switch (size & 3) {
    case 3:
        last |= quint32(*data++) << 16;
        [[fallthrough]];
    case 2:
        last |= quint32(*data++) << 8;
        [[fallthrough]];
    case 1:
        last |= quint32(*data);
        break;
    default:
        break;
    }
    return sum ^ last;
}

struct PlannedFile
{
    const CabinetEntry* entry;
    qint64 size;
    quint32 offsetInFolder;
    int folder;
    QByteArray name;
    quint16 date;
    quint16 time;
};

struct PlannedFolder
{
    bool compressed;
    qint64 bytes = 0;
    quint32 dataOffset = 0;
    int blocks = 0;
};

void dosDateTime(const QDateTime& when, quint16* date, quint16* time)
{
    QDateTime t = when.isValid() ? when : QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    if (t.date().year() < 1980)
        t = QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    if (t.date().year() > 2107)
        t = QDateTime(QDate(2107, 12, 31), QTime(23, 59, 58));
    const QDate d = t.date();
    const QTime h = t.time();
    *date = quint16(((d.year() - 1980) << 9) | (d.month() << 5) | d.day());
    *time = quint16((h.hour() << 11) | (h.minute() << 5) | (h.second() / 2));
}

// One data block: its uncompressed bytes in, its stored bytes out.
struct Block
{
    std::vector<uint8_t> raw;
    std::vector<uint8_t> packed;
    bool failed = false;
};

// The bytes of a block's beginning that tell whether it is worth
// compressing, and what compressing them must save at least.
constexpr size_t kProbeSize = 4096;
constexpr uLong kProbeKept = kProbeSize * 95 / 100;

class Compressor
{
public:
    explicit Compressor(int level)
    {
        m_ready = init(m_packing, level) & init(m_storing, 0) & init(m_probing, 1);
    }
    ~Compressor()
    {
        deflateEnd(&m_packing);
        deflateEnd(&m_storing);
        deflateEnd(&m_probing);
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    // Each block is a whole deflate stream of its own, so the blocks can be
    // compressed in any order; readers keep the previous block as history,
    // which a stream that never refers back to it does not need.
    void pack(Block& block)
    {
        // Photos inside the database are JPEG data already: their blocks go
        // into the stream as deflate's stored blocks, which costs a copy.
        z_stream& stream = compressible(block.raw) ? m_packing : m_storing;
        if (!m_ready || deflateReset(&stream) != Z_OK) {
            block.failed = true;
            return;
        }
        const uLong bound = deflateBound(&stream, uLong(block.raw.size()));
        block.packed.resize(2 + bound);
        block.packed[0] = 'C';
        block.packed[1] = 'K';
        stream.next_in = block.raw.data();
        stream.avail_in = uInt(block.raw.size());
        stream.next_out = block.packed.data() + 2;
        stream.avail_out = uInt(bound);
        if (deflate(&stream, Z_FINISH) != Z_STREAM_END) {
            block.failed = true;
            return;
        }
        block.packed.resize(2 + stream.total_out);
    }

private:
    static bool init(z_stream& stream, int level)
    {
        std::memset(&stream, 0, sizeof stream);
        return deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    }

    bool compressible(const std::vector<uint8_t>& raw)
    {
        if (raw.size() < kProbeSize || deflateReset(&m_probing) != Z_OK)
            return true;
        m_probe.resize(deflateBound(&m_probing, kProbeSize));
        m_probing.next_in = const_cast<uint8_t*>(raw.data());
        m_probing.avail_in = uInt(kProbeSize);
        m_probing.next_out = m_probe.data();
        m_probing.avail_out = uInt(m_probe.size());
        return deflate(&m_probing, Z_FINISH) != Z_STREAM_END || m_probing.total_out < kProbeKept;
    }

    z_stream m_packing;
    z_stream m_storing;
    z_stream m_probing;
    std::vector<uint8_t> m_probe;
    bool m_ready = false;
};

class Writer
{
public:
    Writer(QFile& out, const CabinetLayout& layout) : m_out(out)
    {
        int threads = layout.threads > 0 ? layout.threads
                                         : int(std::max(1U, std::thread::hardware_concurrency()));
        threads = std::min(threads, 8);
        for (int i = 0; i < threads; ++i)
            m_compressors.emplace_back(std::make_unique<Compressor>(layout.compressionLevel));
    }

    QString error;
    // The system's error number of a failed write, 0 otherwise.
    int errorNumber = 0;

    // Appends the bytes of one folder's files as its blocks; returns the
    // number of blocks written, or -1.
    int writeFolder(const PlannedFolder& folder, const std::vector<const PlannedFile*>& files,
                    const CabinetProgress& progress, int* entryIndex, QVector<QByteArray>* digests)
    {
        m_blocks = 0;
        m_compressed = folder.compressed;
        m_batch.clear();
        m_current.clear();
        m_current.reserve(kBlockSize);
        std::vector<uint8_t> buffer(1 << 20);
        for (const PlannedFile* file : files) {
            if (progress)
                progress(*entryIndex, file->entry->name);
            ++*entryIndex;
            QFile in(file->entry->sourcePath);
            if (!in.open(QIODevice::ReadOnly)) {
                error = fr("Impossible de lire le fichier « %1 ».").arg(file->entry->sourcePath);
                return -1;
            }
            QCryptographicHash hash(QCryptographicHash::Sha1);
            qint64 left = file->size;
            while (left > 0) {
                const qint64 want = std::min<qint64>(left, qint64(buffer.size()));
                const qint64 got = in.read(reinterpret_cast<char*>(buffer.data()), want);
                if (got <= 0) {
                    error = fr("Le fichier « %1 » a changé pendant l'archivage.")
                                .arg(file->entry->sourcePath);
                    return -1;
                }
                if (digests)
                    hash.addData(QByteArrayView(buffer.data(), got));
                if (!append(buffer.data(), size_t(got)))
                    return -1;
                left -= got;
            }
            if (digests)
                digests->append(hash.result());
            // A file that grew since it was measured would be archived cut.
            char extra;
            if (in.read(&extra, 1) != 0) {
                error = fr("Le fichier « %1 » a changé pendant l'archivage.")
                            .arg(file->entry->sourcePath);
                return -1;
            }
        }
        if (!m_current.empty())
            queue();
        if (!flush())
            return -1;
        return m_blocks;
    }

private:
    bool append(const uint8_t* data, size_t size)
    {
        while (size > 0) {
            const size_t room = size_t(kBlockSize) - m_current.size();
            const size_t take = std::min(room, size);
            m_current.insert(m_current.end(), data, data + take);
            data += take;
            size -= take;
            if (m_current.size() == size_t(kBlockSize)) {
                queue();
                if (int(m_batch.size()) >= kBlocksPerBatch && !flush())
                    return false;
            }
        }
        return true;
    }

    void queue()
    {
        Block block;
        block.raw.swap(m_current);
        m_current.reserve(kBlockSize);
        m_batch.push_back(std::move(block));
    }

    bool flush()
    {
        if (m_batch.empty())
            return true;
        if (m_compressed) {
            const int workers = int(m_compressors.size());
            auto work = [this, workers](int worker) {
                for (size_t i = size_t(worker); i < m_batch.size(); i += size_t(workers))
                    m_compressors[size_t(worker)]->pack(m_batch[i]);
            };
            std::vector<std::thread> threads;
            for (int w = 1; w < workers && size_t(w) < m_batch.size(); ++w)
                threads.emplace_back(work, w);
            work(0);
            for (std::thread& t : threads)
                t.join();
        }
        for (Block& block : m_batch) {
            if (block.failed) {
                error = fr("La compression de l'archive a échoué.");
                return false;
            }
            const std::vector<uint8_t>& data = m_compressed ? block.packed : block.raw;
            std::vector<uint8_t> header;
            header.reserve(kDataHeaderSize);
            put32(header, 0);
            put16(header, quint32(data.size()));
            put16(header, quint32(block.raw.size()));
            const quint32 sum =
                checksum(header.data() + 4, 4, checksum(data.data(), data.size(), 0));
            header[0] = uint8_t(sum);
            header[1] = uint8_t(sum >> 8);
            header[2] = uint8_t(sum >> 16);
            header[3] = uint8_t(sum >> 24);
            if (!write(header.data(), header.size()) || !write(data.data(), data.size()))
                return false;
            ++m_blocks;
        }
        m_batch.clear();
        return true;
    }

    bool write(const uint8_t* data, size_t size)
    {
        m_written += qint64(size);
        if (m_written > qint64(UINT32_MAX)) {
            error = fr("L'archive dépasserait 4 Go, ce que le format des sauvegardes ne permet "
                       "pas.");
            return false;
        }
        // The file is unbuffered: errno is that of this very write.
        errno = 0;
        if (m_out.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            errorNumber = errno != 0 ? errno : EIO;
            error = archiveWriteError(m_out.fileName(), errorNumber);
            return false;
        }
        return true;
    }

public:
    void startAt(qint64 offset) { m_written = offset; }
    qint64 written() const { return m_written; }

private:
    QFile& m_out;
    std::vector<std::unique_ptr<Compressor>> m_compressors;
    std::vector<Block> m_batch;
    std::vector<uint8_t> m_current;
    bool m_compressed = true;
    int m_blocks = 0;
    qint64 m_written = 0;
};

} // namespace

CabinetResult writeCabinetFile(const QString& path, const QVector<CabinetEntry>& entries,
                               const CabinetProgress& progress, const CabinetLayout& layout,
                               QVector<QByteArray>* digests)
{
    if (digests)
        digests->clear();
    if (entries.isEmpty())
        return {false, fr("Aucun fichier à mettre dans l'archive.")};
    if (entries.size() > 65535)
        return {false, fr("Une archive ne peut contenir plus de 65535 fichiers.")};
    const qint64 folderCapacity = qint64(layout.maxBlocksPerFolder) * kBlockSize;

    // The whole layout is known before the first byte: the sizes, the
    // folders and where every file starts in its folder.
    std::vector<PlannedFile> files;
    std::vector<PlannedFolder> folders;
    files.reserve(size_t(entries.size()));
    qint64 directorySize = kHeaderSize;
    for (const CabinetEntry& entry : entries) {
        const QFileInfo info(entry.sourcePath);
        const qint64 size = info.size();
        if (size > folderCapacity)
            return {false, fr("Le fichier « %1 » dépasse %2 Mo, ce qu'une archive peut "
                              "contenir d'un seul fichier.")
                               .arg(entry.sourcePath)
                               .arg(folderCapacity / (1024 * 1024))};
        if (folders.empty() || folders.back().compressed != entry.compressed ||
            folders.back().bytes + size > folderCapacity) {
            folders.push_back({entry.compressed});
        }
        PlannedFile file{&entry,
                         size,
                         quint32(folders.back().bytes),
                         int(folders.size()) - 1,
                         entry.name.toUtf8(),
                         0,
                         0};
        dosDateTime(info.lastModified(), &file.date, &file.time);
        folders.back().bytes += size;
        directorySize += kFileHeaderSize + file.name.size() + 1;
        files.push_back(std::move(file));
    }
    directorySize += qint64(folders.size()) * kFolderSize;

    // Unbuffered, so that a failed write keeps its errno (a full disk is
    // then said as such) instead of failing later inside a buffer flush.
    const auto failed = [&path]() {
        const int why = errno != 0 ? errno : EIO;
        return CabinetResult{false, archiveWriteError(path, why), why};
    };
    QFile out(path);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return failed();
    // The directory is written last, once the folders' places are known.
    errno = 0;
    if (!out.resize(directorySize) || !out.seek(directorySize))
        return failed();

    Writer writer(out, layout);
    writer.startAt(directorySize);
    int entryIndex = 0;
    size_t next = 0;
    for (size_t f = 0; f < folders.size(); ++f) {
        std::vector<const PlannedFile*> members;
        while (next < files.size() && files[next].folder == int(f))
            members.push_back(&files[next++]);
        folders[f].dataOffset = quint32(writer.written());
        const int blocks = writer.writeFolder(folders[f], members, progress, &entryIndex, digests);
        if (blocks < 0)
            return {false, writer.error, writer.errorNumber};
        folders[f].blocks = blocks;
    }

    std::vector<uint8_t> directory;
    directory.reserve(size_t(directorySize));
    directory.insert(directory.end(), {'M', 'S', 'C', 'F'});
    put32(directory, 0);
    put32(directory, quint32(writer.written()));
    put32(directory, 0);
    put32(directory, quint32(kHeaderSize + folders.size() * kFolderSize));
    put32(directory, 0);
    directory.push_back(3); // format 1.3
    directory.push_back(1);
    put16(directory, quint32(folders.size()));
    put16(directory, quint32(files.size()));
    put16(directory, 0); // no reserve, no neighbouring cabinets
    put16(directory, 0); // set
    put16(directory, 0); // first of its set
    for (const PlannedFolder& folder : folders) {
        put32(directory, folder.dataOffset);
        put16(directory, quint32(folder.blocks));
        put16(directory, folder.compressed ? kCompressMszip : kCompressNone);
    }
    for (const PlannedFile& file : files) {
        put32(directory, quint32(file.size));
        put32(directory, file.offsetInFolder);
        put16(directory, quint32(file.folder));
        put16(directory, file.date);
        put16(directory, file.time);
        bool ascii = true;
        for (char c : file.name)
            ascii = ascii && uchar(c) < 0x80;
        put16(directory, kAttributeArchive | (ascii ? 0 : kAttributeNameIsUtf8));
        directory.insert(directory.end(), file.name.begin(), file.name.end());
        directory.push_back(0);
    }
    errno = 0;
    if (!out.seek(0) ||
        out.write(reinterpret_cast<const char*>(directory.data()), qint64(directory.size())) !=
            qint64(directory.size()) ||
        !out.flush() || ::fsync(out.handle()) != 0)
        return failed();
    out.close();
    return {};
}

namespace {

quint32 get16(const uint8_t* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8;
}

quint32 get32(const uint8_t* p)
{
    return get16(p) | get16(p + 2) << 16;
}

class Inflater
{
public:
    Inflater()
    {
        std::memset(&m_stream, 0, sizeof m_stream);
        m_ready = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
    }
    ~Inflater()
    {
        if (m_ready)
            inflateEnd(&m_stream);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // One MSZIP block, with the previous block of its folder as history.
    bool unpack(const std::vector<uint8_t>& in, const std::vector<uint8_t>& history,
                std::vector<uint8_t>& out, size_t expected)
    {
        if (!m_ready || in.size() < 2 || in[0] != 'C' || in[1] != 'K' ||
            inflateReset(&m_stream) != Z_OK)
            return false;
        if (!history.empty() &&
            inflateSetDictionary(&m_stream, history.data(), uInt(history.size())) != Z_OK)
            return false;
        out.resize(kBlockSize);
        m_stream.next_in = const_cast<uint8_t*>(in.data() + 2);
        m_stream.avail_in = uInt(in.size() - 2);
        m_stream.next_out = out.data();
        m_stream.avail_out = uInt(out.size());
        if (inflate(&m_stream, Z_FINISH) != Z_STREAM_END || m_stream.total_out != expected)
            return false;
        out.resize(expected);
        return true;
    }

private:
    z_stream m_stream;
    bool m_ready = false;
};

} // namespace

CabinetResult verifyCabinet(const QString& path, const QVector<qint64>& sizes,
                            const QVector<QByteArray>& digests)
{
    const CabinetResult damaged{false, fr("L'archive « %1 » relue ne rend pas les fichiers "
                                          "sauvegardés.")
                                           .arg(path)};
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {false, fr("Impossible de relire l'archive « %1 ».").arg(path)};
    const QByteArray head = in.read(kHeaderSize);
    const auto* h = reinterpret_cast<const uint8_t*>(head.constData());
    if (head.size() != kHeaderSize || head.left(4) != "MSCF" || get32(h + 8) != in.size())
        return damaged;
    const int folderCount = int(get16(h + 26));
    const int fileCount = int(get16(h + 28));
    if (fileCount != sizes.size() || fileCount != digests.size() || get16(h + 30) != 0)
        return damaged;
    struct Folder
    {
        quint32 offset;
        int blocks;
        bool compressed;
    };
    std::vector<Folder> folders;
    for (int i = 0; i < folderCount; ++i) {
        const QByteArray f = in.read(kFolderSize);
        if (f.size() != kFolderSize)
            return damaged;
        const auto* p = reinterpret_cast<const uint8_t*>(f.constData());
        const quint32 type = get16(p + 6);
        if (type != kCompressNone && type != kCompressMszip)
            return damaged;
        folders.push_back({get32(p), int(get16(p + 4)), type == kCompressMszip});
    }
    struct File
    {
        qint64 size;
        qint64 offset;
        int folder;
    };
    std::vector<File> files;
    if (!in.seek(get32(h + 16)))
        return damaged;
    for (int i = 0; i < fileCount; ++i) {
        const QByteArray f = in.read(kFileHeaderSize);
        if (f.size() != kFileHeaderSize)
            return damaged;
        const auto* p = reinterpret_cast<const uint8_t*>(f.constData());
        const int folder = int(get16(p + 8));
        if (folder >= folderCount || qint64(get32(p)) != sizes.at(i))
            return damaged;
        files.push_back({qint64(get32(p)), qint64(get32(p + 4)), folder});
        char c = 1;
        while (c != 0)
            if (!in.getChar(&c))
                return damaged;
    }

    // Each folder's bytes are one stream cut into blocks; the files take
    // their ranges of it in order.
    Inflater inflater;
    std::vector<uint8_t> packed;
    std::vector<uint8_t> plain;
    std::vector<uint8_t> history;
    size_t nextFile = 0;
    for (int f = 0; f < folderCount; ++f) {
        if (!in.seek(folders[size_t(f)].offset))
            return damaged;
        history.clear();
        qint64 position = 0;
        QCryptographicHash hash(QCryptographicHash::Sha1);
        auto finishFilesUpTo = [&](qint64 end) {
            // Files that end within what has been read are complete.
            while (nextFile < files.size() && files[nextFile].folder == f &&
                   files[nextFile].offset + files[nextFile].size <= end) {
                if (hash.result() != digests.at(int(nextFile)))
                    return false;
                hash.reset();
                ++nextFile;
            }
            return true;
        };
        if (!finishFilesUpTo(0))
            return damaged;
        for (int b = 0; b < folders[size_t(f)].blocks; ++b) {
            uint8_t header[kDataHeaderSize];
            if (in.read(reinterpret_cast<char*>(header), kDataHeaderSize) != kDataHeaderSize)
                return damaged;
            const size_t packedSize = get16(header + 4);
            const size_t plainSize = get16(header + 6);
            if (plainSize > size_t(kBlockSize))
                return damaged;
            packed.resize(packedSize);
            if (in.read(reinterpret_cast<char*>(packed.data()), qint64(packedSize)) !=
                qint64(packedSize))
                return damaged;
            const quint32 sum = checksum(header + 4, 4, checksum(packed.data(), packedSize, 0));
            if (get32(header) != 0 && get32(header) != sum)
                return damaged;
            if (folders[size_t(f)].compressed) {
                if (!inflater.unpack(packed, history, plain, plainSize))
                    return damaged;
            } else {
                if (packedSize != plainSize)
                    return damaged;
                plain.swap(packed);
            }
            // Feed the block to the files it covers.
            size_t used = 0;
            while (used < plain.size()) {
                if (nextFile >= files.size() || files[nextFile].folder != f)
                    return damaged;
                const qint64 fileEnd = files[nextFile].offset + files[nextFile].size;
                if (fileEnd <= position + qint64(used))
                    return damaged;
                const size_t take = size_t(std::min<qint64>(fileEnd - (position + qint64(used)),
                                                            qint64(plain.size() - used)));
                hash.addData(QByteArrayView(plain.data() + used, qsizetype(take)));
                used += take;
                if (!finishFilesUpTo(position + qint64(used)))
                    return damaged;
            }
            position += qint64(plain.size());
            history.swap(plain);
        }
    }
    if (nextFile != files.size())
        return damaged;
    return {};
}

} // namespace tav
