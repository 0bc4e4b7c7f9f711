#!/usr/bin/env python3
"""Writes test executables: a launcher stub with a configuration block behind its last section.

Independent of the project's builder on purpose: it can write blocks the builder never would
(wrong magic, cut texts, negative lengths) and it checks the builder's idea of the layout from
the outside.

A block is described by a dict (a Python literal on the command line):

    {'narrow': [(101, 'App'), (107, '1')],        # or a dict {id: text}; str or bytes
     'wide':   [(122, 'com.example.Main')],
     'groups': [('de', [(1000, 'Fehler')])],       # locale prefix and its wide entries
     'files':  [b'content', 'text'],               # included files, stored scrambled
     'tail':   'E8E413D5 0000',                    # bytes after the files (Java-side data),
                                                   # as bytes or hexadecimal text
     'header': (0, 0, 0)}                          # the two header words and the header value

Command line:
    blockwriter.py make STUB OUT (--config LITERAL | --hex HEX | --none)
    blockwriter.py pe-info EXE     # the values the launcher logs while finding the block
"""
import argparse
import ast
import os
import struct
import sys

MAGIC = 0xE8E413D5
SCRAMBLE = 0xA7
# Narrow texts are bytes in the ANSI code page; under Wine with an English locale that is 1252.
NARROW_ENCODING = 'cp1252'


def _int32(value):
    return struct.pack('<i', value)


def _narrow(text):
    data = text if isinstance(text, bytes) else text.encode(NARROW_ENCODING)
    return _int32(len(data)) + data


def _wide(text):
    data = text.encode('utf-16-le')
    return _int32(len(data)) + data


def _entries(entries):
    return list(entries.items()) if isinstance(entries, dict) else list(entries)


def _table(entries, encode):
    items = _entries(entries)
    return _int32(len(items)) + b''.join(_int32(key) + encode(text) for key, text in items)


def included_file(data):
    """One included-file record: int64 size, then the data XORed with 0xA7."""
    raw = data if isinstance(data, bytes) else data.encode(NARROW_ENCODING)
    return struct.pack('<q', len(raw)) + bytes(b ^ SCRAMBLE for b in raw)


def build_block(desc):
    """The bytes of a configuration block from its description (see the module text)."""
    word1, word2, value = desc.get('header', (0, 0, 0))
    out = struct.pack('<Iiiq', MAGIC, word1, word2, value)
    out += _table(desc.get('narrow', ()), _narrow)
    out += _table(desc.get('wide', ()), _wide)
    groups = desc.get('groups', ())
    out += _int32(len(groups))
    for prefix, entries in groups:
        out += _narrow(prefix) + _table(entries, _wide)
    out += b''.join(included_file(data) for data in desc.get('files', ()))
    tail = desc.get('tail', b'')
    return out + (parse_hex(tail) if isinstance(tail, str) else tail)


def pe_layout(image):
    """Where the launcher looks for the block, read the way the launcher reads it."""
    header = struct.unpack_from('<i', image, 60)[0]
    sections = struct.unpack_from('<h', image, header + 6)[0]
    optional_size = struct.unpack_from('<h', image, header + 20)[0]
    last_section = header + optional_size + 40 * sections - 16
    raw_size, raw_offset = struct.unpack_from('<ii', image, last_section + 16)
    return {'sections': sections, 'optional_size': optional_size,
            'last_section': last_section, 'raw_size': raw_size, 'raw_offset': raw_offset,
            'block_start': raw_offset + raw_size}


def attach(stub, block):
    """The stub cut behind its last section's raw data, followed by the block."""
    start = pe_layout(stub)['block_start']
    if start > len(stub):
        raise ValueError('stub is shorter than its section table says (%d < %d)'
                         % (len(stub), start))
    return stub[:start] + block


def write_exe(stub_path, out_path, block):
    with open(stub_path, 'rb') as f:
        stub = f.read()
    with open(out_path, 'wb') as f:
        f.write(attach(stub, block))
    os.chmod(out_path, 0o755)


def parse_hex(text):
    return bytes.fromhex(''.join(text.split()))


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    commands = parser.add_subparsers(dest='command', required=True)
    make = commands.add_parser('make', help='write STUB plus a block to OUT')
    make.add_argument('stub')
    make.add_argument('out')
    source = make.add_mutually_exclusive_group(required=True)
    source.add_argument('--config', help='block description, a Python literal')
    source.add_argument('--hex', help='the block as hexadecimal bytes (blanks allowed)')
    source.add_argument('--none', action='store_true', help='no block: only cut the stub')
    info = commands.add_parser('pe-info', help='print the section-table values the launcher logs')
    info.add_argument('exe')
    args = parser.parse_args(argv)

    if args.command == 'pe-info':
        with open(args.exe, 'rb') as f:
            layout = pe_layout(f.read())
        print(' '.join('%s=%d' % item for item in layout.items()))
        return 0
    if args.config is not None:
        block = build_block(ast.literal_eval(args.config))
    elif args.hex is not None:
        block = parse_hex(args.hex)
    else:
        block = b''
    write_exe(args.stub, args.out, block)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
