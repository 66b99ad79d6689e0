/* The program file, the one file the programs read: their own, which
 * carries the appended font for load_datafile("#"). Its bytes are built
 * into the program (web/embed-file.cmake), so the page needs no file
 * system of Emscripten's, whose set-up alone held the first frame up by
 * some 6 ms and whose script was two thirds of the program's: these are
 * the calls the C library makes for opening, reading, seeking and looking
 * up files. The program file's name opens a read-only descriptor over the
 * bytes; no other name exists, and nothing can be written. Standard output
 * and error stay Emscripten's. */
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <wasi/api.h>

extern const char _web_program_file_name[];
extern const unsigned long _web_program_file_size;
extern const unsigned char _web_program_file[];

/* Descriptors 3 and up (0 to 2 are the standard streams). The library
 * holds the file open at most twice at a time. */
#define FIRST_DESCRIPTOR 3
#define DESCRIPTORS      8

static struct {
   int open;
   unsigned long position;
} descriptors[DESCRIPTORS];

static int isProgramFile(long path) {
   return strcmp((const char*)path, _web_program_file_name) == 0;
}

/* The slot of an open descriptor of the program file, or -1. */
static int slotOf(int fd) {
   const int slot = fd - FIRST_DESCRIPTOR;
   return slot >= 0 && slot < DESCRIPTORS && descriptors[slot].open ? slot : -1;
}

long __syscall_open(long path, long flags, ...) {
   if (!isProgramFile(path)) return (flags & O_CREAT) ? -EROFS : -ENOENT;
   if ((flags & O_ACCMODE) != O_RDONLY) return -EROFS;
   for (int slot = 0; slot < DESCRIPTORS; slot++) {
      if (!descriptors[slot].open) {
         descriptors[slot].open = 1;
         descriptors[slot].position = 0;
         return FIRST_DESCRIPTOR + slot;
      }
   }
   return -EMFILE;
}

static long statPath(long path, long buf) {
   if (!isProgramFile(path)) return -ENOENT;
   struct stat* st = (struct stat*)buf;
   memset(st, 0, sizeof *st);
   st->st_mode = S_IFREG | 0444;
   st->st_nlink = 1;
   st->st_size = _web_program_file_size;
   return 0;
}

long __syscall_stat64(long path, long buf) { return statPath(path, buf); }

long __syscall_lstat64(long path, long buf) { return statPath(path, buf); }

long __syscall_unlink(long path) { return isProgramFile(path) ? -EROFS : -ENOENT; }

/* Neither is needed to read a file; the library's callers handle failure. */
long __syscall_dup(long fd) { return slotOf(fd) < 0 ? -EBADF : -EMFILE; }

long __syscall_getdents64(long fd, long dirp, long count) {
   (void)dirp;
   (void)count;
   return slotOf(fd) < 0 ? -EBADF : -ENOTDIR;
}

__wasi_errno_t __wasi_fd_read(__wasi_fd_t fd, const __wasi_iovec_t* iovs, size_t count,
                              __wasi_size_t* nread) {
   const int slot = slotOf(fd);
   if (slot < 0) return __WASI_ERRNO_BADF;
   *nread = 0;
   for (size_t i = 0; i < count; i++) {
      const unsigned long at = descriptors[slot].position;
      const unsigned long left = at < _web_program_file_size ? _web_program_file_size - at : 0;
      const unsigned long n = iovs[i].buf_len < left ? iovs[i].buf_len : left;
      memcpy(iovs[i].buf, _web_program_file + at, n);
      descriptors[slot].position += n;
      *nread += n;
   }
   return 0;
}

__wasi_errno_t __wasi_fd_seek(__wasi_fd_t fd, __wasi_filedelta_t offset, __wasi_whence_t whence,
                              __wasi_filesize_t* moved) {
   const int slot = slotOf(fd);
   if (slot < 0) return __WASI_ERRNO_BADF;
   long long base;
   switch (whence) {
      case __WASI_WHENCE_SET:
         base = 0;
         break;
      case __WASI_WHENCE_CUR:
         base = descriptors[slot].position;
         break;
      case __WASI_WHENCE_END:
         base = _web_program_file_size;
         break;
      default:
         return __WASI_ERRNO_INVAL;
   }
   if (base + offset < 0) return __WASI_ERRNO_INVAL;
   descriptors[slot].position = base + offset;
   *moved = descriptors[slot].position;
   return 0;
}

__wasi_errno_t __wasi_fd_close(__wasi_fd_t fd) {
   const int slot = slotOf(fd);
   if (slot < 0) return __WASI_ERRNO_BADF;
   descriptors[slot].open = 0;
   return 0;
}
