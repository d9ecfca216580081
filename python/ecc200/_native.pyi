from typing import Any, Dict, List, Optional, Tuple

# (scheme, ((ECC200_OPTION_*, value), ...), user mark, product identifier)
Settings = Tuple[int, Tuple[Tuple[int, int], ...], bool, Optional[bytes]]

def encode(data: bytes, settings: Settings) -> Tuple[int, int, Optional[bytes], int, int]: ...
def write_bmp(
    data: bytes, settings: Settings, module_size: int, quiet_zone_pixels: int, path: bytes
) -> Tuple[int, int]: ...
def describe_failure(status: int, step: int, data: bytes, settings: Settings) -> str: ...
def plan_split(
    data: bytes, settings: Settings, count: int
) -> Tuple[Optional[List[Tuple[int, int]]], Optional[Tuple[int, int, int]]]: ...
def file_id_of(data: bytes) -> int: ...
def gs1_element_string(text: bytes, flags: int) -> Tuple[int, Optional[bytes], str]: ...
def write_file(path: bytes, content: bytes) -> int: ...
def version() -> str: ...

SIZES: Tuple[Tuple[int, int, int], ...]
MAX_DATA_LENGTH: int
MAX_PRODUCT_ID: int
MAX_ECI: int
OPTION_SIZE: int
OPTION_ENCODATION: int
OPTION_GS1: int
OPTION_ECI: int
OPTION_SHAPE: int
OPTION_READER_PROGRAMMING: int
OPTION_APPEND_POSITION: int
OPTION_APPEND_COUNT: int
OPTION_APPEND_FILE_ID: int
ECI_UTF8: int
SIZE_AUTO: int
SCHEME_AUTO: int
SCHEME_ASCII: int
SCHEME_C40: int
SCHEME_TEXT: int
SCHEME_X12: int
SCHEME_EDIFACT: int
SCHEME_BASE256: int
ENCODATION_SMALLEST: int
SHAPE_ANY: int
SHAPE_DMRE: int
FIRST_DMRE_SIZE: int
STATUS_SIZE_TOO_SMALL: int
STATUS_DATA_TOO_LONG: int
STATUS_EDIFACT_BYTE: int
STATUS_X12_BYTE: int
STATUS_PARAMETER: int
STATUS_NO_IDENTITY: int
STATUS_BASE256_EMPTY: int
STATUS_INTERNAL: int
STATUS_GS1: int
GS1_FIELDS_ONLY: int
GS1_SKIP_RELATIONS: int
GS1_HUMAN_READABLE: int

ReadResult = Dict[str, Any]

def read_image_file(
    file: bytes, product_id: Optional[bytes], identity: Optional[bytes]
) -> ReadResult: ...
def read_grey(
    pixels: bytes, width: int, height: int, product_id: Optional[bytes], identity: Optional[bytes]
) -> ReadResult: ...
def read_modules(
    modules: bytes, rows: int, cols: int, product_id: Optional[bytes], identity: Optional[bytes]
) -> ReadResult: ...

STATUS_UNREADABLE: int
MARK_UNCHECKED: int
MARK_ABSENT: int
MARK_PARTIAL: int
MARK_VALID: int
