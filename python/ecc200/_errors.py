"""The exception that every failed encode raises."""


class EncodeError(ValueError):
    """The data cannot be encoded as asked, or an argument is invalid.

    ``status`` is the library's status code (1 the size is too small, 2 the data is too long,
    4 EDIFACT cannot encode a byte, 6 the scheme cannot encode the data, 8 an invalid argument,
    10 user.id is missing or unusable, 17 Base 256 has no data, 18 internal failure, 20 GS1 data
    breaks GS1's rules); the message
    says what went wrong in the caller's terms.
    """

    def __init__(self, status: int, message: str) -> None:
        super().__init__(message)
        self.status = status
