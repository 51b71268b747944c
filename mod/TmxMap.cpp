#include "mod/TmxMap.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "mod/ModProblem.h"

#include <pugixml.hpp>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>

namespace drovak {

namespace {

// More cells than any map of a folder holds; a layer beyond it is not read.
constexpr uint64_t MAX_MAP_CELLS = 1u << 20;

// The file a problem is in, and the layer where there is one.
struct Where {
    std::string file;
    std::optional<std::string> layer{};
};

[[noreturn]] void Refuse(const Where& where, ModProblem problem) {
    problem.file = where.file;
    problem.layer = where.layer;
    ThrowModProblem(std::move(problem));
}
[[noreturn]] void Refuse(const Where& where, ModProblemKind kind) {
    Refuse(where, ModProblem{.kind = kind});
}

// A whole decimal number of 32 bits, or nothing.
std::optional<uint32_t> ParseNumber(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
        if (value > UINT32_MAX) return std::nullopt;
    }
    return uint32_t(value);
}

uint32_t Attribute(const pugi::xml_node& node, const char* key, const Where& name,
                   std::optional<uint32_t> missing = std::nullopt) {
    const pugi::xml_attribute attribute = node.attribute(key);
    if (!attribute) {
        if (missing) return *missing;
        Refuse(name, ModProblem{.kind = ModProblemKind::TmxAttributeMissing,
                                .key = key,
                                .element = node.name()});
    }
    const std::optional<uint32_t> value = ParseNumber(attribute.value());
    if (!value) {
        Refuse(name, ModProblem{.kind = ModProblemKind::TmxAttributeNotNumber,
                                .text = attribute.value(),
                                .key = key,
                                .element = node.name()});
    }
    return *value;
}

std::vector<uint8_t> Base64(std::string_view text, const Where& where) {
    std::vector<uint8_t> bytes;
    uint32_t bits = 0;
    unsigned held = 0, padding = 0;
    for (const char c : text) {
        int value = -1;
        if (c >= 'A' && c <= 'Z') value = c - 'A';
        if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
        if (c >= '0' && c <= '9') value = c - '0' + 52;
        if (c == '+') value = 62;
        if (c == '/') value = 63;
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        if (value < 0 || padding)
            Refuse(where, ModProblem{.kind = ModProblemKind::TmxBase64, .text = std::string(1, c)});
        bits = bits << 6 | uint32_t(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(uint8_t(bits >> held));
        }
    }
    return bytes;
}

// zlib or gzip data (told apart by their headers) that must inflate to exactly `size` bytes.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& packed, size_t size, const Where& where) {
    std::vector<uint8_t> out(size + 1);
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        Refuse(where, ModProblemKind::TmxInflaterNotStarted);
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = uInt(packed.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    const int status = inflate(&stream, Z_FINISH);
    const size_t got = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (status != Z_STREAM_END || got != size) {
        Refuse(where, status == Z_STREAM_END || status == Z_BUF_ERROR
                          ? ModProblemKind::TmxCompressedCells
                          : ModProblemKind::TmxCompressedDamaged);
    }
    out.resize(size);
    return out;
}

std::vector<uint32_t> LayerGids(const pugi::xml_node& data, size_t cells, const Where& where) {
    if (!data) Refuse(where, ModProblemKind::TmxNoData);
    if (data.child("chunk"))
        Refuse(where, ModProblem{.kind = ModProblemKind::TmxInfinite, .flag = true});
    const std::string encoding = data.attribute("encoding").value();
    const std::string compression = data.attribute("compression").value();
    std::vector<uint32_t> gids;
    if (encoding.empty()) {
        for (const pugi::xml_node tile : data.children("tile")) {
            if (gids.size() > cells) break; // one too many is enough to refuse the layer
            gids.push_back(Attribute(tile, "gid", where, 0));
        }
    } else if (encoding == "csv") {
        std::string_view text = data.child_value();
        while (!text.empty() && gids.size() <= cells) {
            const size_t comma = std::min(text.find(','), text.size());
            const std::optional<uint32_t> gid = ParseNumber(text.substr(0, comma));
            if (!gid) {
                if (comma == text.size() && text.find_first_not_of(" \t\r\n") == text.npos) break;
                Refuse(where,
                       ModProblem{.kind = ModProblemKind::TmxCsvCell,
                                  .text = std::string(text.substr(0, std::min<size_t>(comma, 20))),
                                  .count = gids.size()});
            }
            gids.push_back(*gid);
            text.remove_prefix(std::min(comma + 1, text.size()));
        }
    } else if (encoding == "base64") {
        if (!compression.empty() && compression != "zlib" && compression != "gzip") {
            Refuse(where, ModProblem{.kind = ModProblemKind::TmxCompression, .text = compression});
        }
        std::vector<uint8_t> bytes = Base64(data.child_value(), where);
        if (!compression.empty()) bytes = Inflate(bytes, 4 * cells, where);
        if (bytes.size() != 4 * cells) Refuse(where, ModProblemKind::TmxBase64Cells);
        for (size_t k = 0; k < cells; ++k) gids.push_back(LoadLittleEndian32(bytes.data() + 4 * k));
    } else {
        Refuse(where, ModProblem{.kind = ModProblemKind::TmxEncoding, .text = encoding});
    }
    if (gids.size() != cells) {
        Refuse(
            where,
            ModProblem{.kind = ModProblemKind::TmxCellCount, .limit = cells, .count = gids.size()});
    }
    return gids;
}

} // namespace

std::string TmxText(const TmxMap& map) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = document.append_child("map");
    root.append_attribute("version") = "1.8";
    root.append_attribute("orientation") = "orthogonal";
    root.append_attribute("renderorder") = "right-down";
    root.append_attribute("width") = map.width;
    root.append_attribute("height") = map.height;
    root.append_attribute("tilewidth") = map.tileWidth;
    root.append_attribute("tileheight") = map.tileHeight;
    root.append_attribute("infinite") = 0;
    root.append_attribute("nextlayerid") = unsigned(map.layers.size() + 1);
    root.append_attribute("nextobjectid") = 1;
    for (const TmxTileset& tileset : map.tilesets) {
        pugi::xml_node node = root.append_child("tileset");
        node.append_attribute("firstgid") = tileset.firstGid;
        node.append_attribute("name") = tileset.name.c_str();
        node.append_attribute("tilewidth") = tileset.tileWidth;
        node.append_attribute("tileheight") = tileset.tileHeight;
        node.append_attribute("tilecount") = tileset.tileCount;
        node.append_attribute("columns") = tileset.columns;
        pugi::xml_node image = node.append_child("image");
        image.append_attribute("source") = tileset.image.c_str();
        image.append_attribute("width") = tileset.imageWidth;
        image.append_attribute("height") = tileset.imageHeight;
    }
    for (size_t k = 0; k < map.layers.size(); ++k) {
        const TmxLayer& layer = map.layers[k];
        pugi::xml_node node = root.append_child("layer");
        node.append_attribute("id") = unsigned(k + 1);
        node.append_attribute("name") = layer.name.c_str();
        node.append_attribute("width") = map.width;
        node.append_attribute("height") = map.height;
        pugi::xml_node data = node.append_child("data");
        data.append_attribute("encoding") = "csv";
        std::string csv = "\n";
        for (size_t at = 0; at < layer.gids.size(); ++at) {
            csv += std::to_string(layer.gids[at]);
            if (at + 1 < layer.gids.size()) csv += (at + 1) % map.width ? "," : ",\n";
        }
        data.text() = (csv + "\n").c_str();
    }
    std::ostringstream text;
    document.save(text, " ", pugi::format_default, pugi::encoding_utf8);
    return text.str();
}

TmxMap ParseTmx(std::string_view text, const std::string& name) {
    const Where file{name};
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed) {
        const size_t offset = std::min(size_t(std::max<ptrdiff_t>(parsed.offset, 0)), text.size());
        const auto line = std::count(text.begin(), text.begin() + long(offset), '\n') + 1;
        Refuse(file, ModProblem{.kind = ModProblemKind::TmxSyntax,
                                .text = parsed.description(),
                                .line = uint64_t(line)});
    }
    const pugi::xml_node root = document.child("map");
    if (!root) Refuse(file, ModProblemKind::TmxNoMap);
    if (std::string(root.attribute("orientation").value()) != "orthogonal")
        Refuse(file, ModProblemKind::TmxNotOrthogonal);
    if (Attribute(root, "infinite", file, 0) != 0) Refuse(file, ModProblemKind::TmxInfinite);
    TmxMap map;
    map.width = Attribute(root, "width", file);
    map.height = Attribute(root, "height", file);
    map.tileWidth = Attribute(root, "tilewidth", file);
    map.tileHeight = Attribute(root, "tileheight", file);
    const uint64_t cells = uint64_t(map.width) * map.height;
    if (cells > MAX_MAP_CELLS) {
        Refuse(file, ModProblem{.kind = ModProblemKind::TmxTooLarge,
                                .width = map.width,
                                .height = map.height});
    }
    for (const pugi::xml_node node : root.children("tileset")) {
        TmxTileset tileset;
        tileset.firstGid = Attribute(node, "firstgid", file);
        tileset.name = node.attribute("name").value();
        tileset.image = node.attribute("source").value();
        map.tilesets.push_back(tileset);
    }
    std::stable_sort(
        map.tilesets.begin(), map.tilesets.end(),
        [](const TmxTileset& a, const TmxTileset& b) { return a.firstGid < b.firstGid; });
    for (const pugi::xml_node node : root.children("layer")) {
        TmxLayer layer;
        layer.name = node.attribute("name").value();
        const Where where{name, layer.name};
        const uint32_t width = Attribute(node, "width", where, map.width);
        const uint32_t height = Attribute(node, "height", where, map.height);
        if (width != map.width || height != map.height) {
            Refuse(where, ModProblem{.kind = ModProblemKind::TmxLayerSize,
                                     .width = width,
                                     .height = height,
                                     .otherWidth = map.width,
                                     .otherHeight = map.height});
        }
        layer.gids = LayerGids(node.child("data"), size_t(cells), where);
        map.layers.push_back(std::move(layer));
    }
    return map;
}

} // namespace drovak
