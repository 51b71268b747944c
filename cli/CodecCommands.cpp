// lzh-decode, lzh-encode, rle-decode, rle-encode, mask-decode: the codecs on plain files.
#include "base/ReplaceFile.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "compression/Lzh.h"
#include "compression/MaskedTile.h"
#include "compression/Rle.h"

namespace drovak::cli {

namespace {

int LzhDecodeFile(const ParsedArguments& arguments, CommandOutput&) {
    uint32_t size = arguments.Decimal("--size", 0, UINT32_MAX);
    uint32_t offset = arguments.Hex("--at", 0);
    std::vector<uint8_t> decoded;
    if (size > 0) {
        const RomBytes in = ReadInput(arguments.Positional(0), offset);
        decoded = LzhDecode(std::span(in.bytes).subspan(offset), size, in.name).bytes;
    }
    WriteFileReplacing(arguments.Positional(1), decoded);
    return EXIT_OK;
}

int LzhEncodeFile(const ParsedArguments& arguments, CommandOutput&) {
    WriteFileReplacing(arguments.Positional(1), LzhEncode(ReadCodecInput(arguments.Positional(0))));
    return EXIT_OK;
}

int RleDecodeFile(const ParsedArguments& arguments, CommandOutput& output) {
    const uint32_t offset = arguments.Hex("--at", 0);
    // The input is closed (its lock let go) before OUT, which may be the same file, is written.
    const RomBytes in = ReadInput(arguments.Positional(0), offset);
    const RleDecodeResult decoded = RleDecode(in.bytes, offset, in.name);
    WriteFileReplacing(arguments.Positional(1), decoded.bytes);
    output.out << decoded.consumed << "\n";
    return EXIT_OK;
}

int RleEncodeFile(const ParsedArguments& arguments, CommandOutput& output) {
    const RleEncodeResult result = RleEncode(ReadCodecInput(arguments.Positional(0)));
    // A block with a run missing is refused: OUT is not written.
    if (result.unsupportedRepeatCount) {
        throw UnsupportedRepeatError(*result.unsupportedRepeatCount);
    }
    WriteFileReplacing(arguments.Positional(1), result.bytes);
    output.out << result.bytes.size() << "\n";
    return EXIT_OK;
}

int MaskDecodeFile(const ParsedArguments& arguments, CommandOutput&) {
    uint32_t offset = arguments.Hex("--at", 0);
    const RomBytes in = ReadInput(arguments.Positional(0), offset);
    WriteFileReplacing(arguments.Positional(1), MaskedTileDecode(in.bytes, offset));
    return EXIT_OK;
}

} // namespace

std::vector<Command> CodecCommands() {
    return {
        {"lzh-decode",
         "IN OUT --size SIZE [--at OFFSET]",
         "decode an LZHUF stream from a file",
         "Decodes the LZHUF stream that starts at OFFSET (hexadecimal, default 0) of IN into\n"
         "SIZE bytes (decimal) and writes OUT. The decoder stops at the first item boundary at\n"
         "or past SIZE, so OUT may hold up to 59 bytes more; it gets everything decoded.\n"
         "SIZE 0 writes an empty OUT.",
         {{"IN", "OUT"}, {"--size", "--at"}, {}},
         LzhDecodeFile},
        {"lzh-encode",
         "IN OUT",
         "encode a whole file as an LZHUF stream",
         "Writes the LZHUF stream of the whole of IN to OUT (no header; an empty IN gives an\n"
         "empty OUT).",
         {{"IN", "OUT"}, {}, {}},
         LzhEncodeFile},
        {"rle-decode",
         "IN OUT [--at OFFSET]",
         "decode an RLE block from a file",
         "Decodes the RLE block (4-byte length header, then run items) at OFFSET (hexadecimal,\n"
         "default 0) of IN into OUT and prints the number of bytes of IN it used, header\n"
         "included.",
         {{"IN", "OUT"}, {"--at"}, {}},
         RleDecodeFile},
        {"rle-encode",
         "IN OUT",
         "encode a whole file as an RLE block",
         "Encodes the whole of IN as an RLE block into OUT and prints its size. An input whose\n"
         "length is not a multiple of 4 is padded with zero bytes. A run of more than 65,536\n"
         "bytes of one nibble can't be written: stderr then gets \"Unsupported repeat count:\n"
         "N\", the exit code is 3 and OUT is not written.",
         {{"IN", "OUT"}, {}, {}},
         RleEncodeFile},
        {"mask-decode",
         "IN OUT [--at OFFSET]",
         "decode a masked-tile stream from a file",
         "Expands the masked-tile records at OFFSET (hexadecimal, default 0) of IN into 32-byte\n"
         "tiles in OUT, up to the end marker (a count byte of 0x80 or more).",
         {{"IN", "OUT"}, {"--at"}, {}},
         MaskDecodeFile},
    };
}

} // namespace drovak::cli
