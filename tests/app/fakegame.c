/* A stand-in for Battlefield 1942, built for Windows when the tests run:
   writes the folder it was started in and each of its arguments to
   played.txt in that folder (whole, by a rename), then waits to be ended,
   for 30 seconds at most. */
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv)
{
    char folder[MAX_PATH];
    if (GetCurrentDirectoryA(MAX_PATH, folder) == 0)
        return 1;
    FILE* record = fopen("played.part", "wb");
    if (!record)
        return 1;
    fprintf(record, "folder: %s\n", folder);
    for (int i = 1; i < argc; ++i)
        fprintf(record, "argument: %s\n", argv[i]);
    if (fclose(record) != 0 || !MoveFileA("played.part", "played.txt"))
        return 1;
    Sleep(30000);
    return 0;
}
