// Keeps the framework library non-empty until its classes have implementation files.
