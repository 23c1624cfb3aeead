// levpack command (placeholder until the writer is built).
int main() { return 0; }
