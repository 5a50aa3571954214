// Keeps the resource library non-empty until the resource tables exist.
