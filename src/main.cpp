// Program entry (placeholder until the shell is built).
int main() { return 0; }
