"""Reading the headers of a PE image (PE32, or PE32+ of the 64-bit test build):
just what the build checks need."""
import struct


class PeError(Exception):
    pass


class Section:
    def __init__(self, data, off):
        (self.name, self.virtual_size, self.virtual_address, self.raw_size,
         self.raw_pointer) = struct.unpack_from('<8sIIII', data, off)
        self.name = self.name.rstrip(b'\0').decode('latin-1')


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b'MZ':
            raise PeError('no "MZ" at offset 0')
        self.pe_offset = struct.unpack_from('<I', data, 0x3C)[0]
        if data[self.pe_offset:self.pe_offset + 4] != b'PE\0\0':
            raise PeError('no "PE" signature at e_lfanew %d' % self.pe_offset)
        coff = self.pe_offset + 4
        (self.machine, self.section_count, _, _, _, self.optional_size,
         self.characteristics) = struct.unpack_from('<HHIIIHH', data, coff)
        self.optional_offset = coff + 20
        self.magic = struct.unpack_from('<H', data, self.optional_offset)[0]
        if self.magic not in (0x10B, 0x20B):
            raise PeError('not a PE image (optional header magic %#x)' % self.magic)
        # The fields read below lie at the same offsets in both forms.
        self.size_of_headers = struct.unpack_from('<I', data, self.optional_offset + 60)[0]
        self.checksum_offset = self.optional_offset + 64
        self.subsystem = struct.unpack_from('<H', data, self.optional_offset + 68)[0]
        self.sections_offset = self.optional_offset + self.optional_size
        self.sections = [Section(data, self.sections_offset + 40 * i)
                         for i in range(self.section_count)]
        self.headers_end = self.sections_offset + 40 * self.section_count

    def first_raw_pointer(self):
        raws = [s.raw_pointer for s in self.sections if s.raw_size > 0]
        return min(raws) if raws else len(self.data)
