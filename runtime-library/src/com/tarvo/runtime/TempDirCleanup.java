package com.tarvo.runtime;

import java.io.IOException;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileVisitOption;
import java.nio.file.FileVisitResult;
import java.nio.file.Files;
import java.nio.file.InvalidPathException;
import java.nio.file.LinkOption;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.SimpleFileVisitor;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.DosFileAttributeView;
import java.util.ArrayList;
import java.util.EnumSet;
import java.util.Iterator;
import java.util.List;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.regex.Pattern;

/**
 * Removes the launcher's temporary directory, and the empty file its name was made from, when
 * the VM exits. The launcher leaves both for the application while it runs.
 *
 * <p>Links are never followed: a symbolic link or a junction inside the directory is removed as
 * an entry, and what it points to is left alone.
 */
final class TempDirCleanup {

    /** Set by the native launcher: its temporary directory, empty when it made none. */
    static final String TEMP_DIR = "tarvo.tempDir";

    /** A temporary file name followed by "_dir" and the creation time in seconds. */
    private static final Pattern DIR_NAME = Pattern.compile(".+_dir-?[0-9]+");
    private static final String DIR_SUFFIX = "_dir";
    private static final LinkOption[] NO_FOLLOW = {LinkOption.NOFOLLOW_LINKS};

    private static final AtomicBoolean INSTALLED = new AtomicBoolean();

    private TempDirCleanup() {
    }

    /**
     * Installs the exit hook once per VM. The directory is read now: the application could
     * change the property later, and nothing it sets should steer a recursive delete.
     */
    static void installOnce() {
        if (!INSTALLED.compareAndSet(false, true)) {
            return;
        }
        final String dir = System.getProperty(TEMP_DIR, "");
        if (dir.isEmpty()) {
            return;
        }
        Thread hook = new Thread(new Runnable() {
            @Override
            public void run() {
                try {
                    remove(dir);
                } catch (Throwable ignored) {
                    // Best effort at exit: there is no one left to tell.
                }
            }
        }, "launcher temp dir cleanup");
        try {
            Runtime.getRuntime().addShutdownHook(hook);
        } catch (IllegalStateException | SecurityException e) {
            // Already shutting down, or not allowed: leave the directory.
        }
    }

    /**
     * Removes the directory and its source file.
     *
     * @return true when nothing that should go is left; a value that does not look like a
     *     launcher temporary directory touches nothing and returns false
     */
    static boolean remove(String value) {
        if (value == null || value.isEmpty()) {
            return true;
        }
        Path dir;
        try {
            dir = Paths.get(value).toAbsolutePath().normalize();
        } catch (InvalidPathException e) {
            return false;
        }
        Path name = dir.getFileName();
        if (name == null || !DIR_NAME.matcher(name.toString()).matches()) {
            // Only a name the launcher makes; a stray property must not aim this at real data.
            return false;
        }
        boolean treeGone = removeTree(dir);
        String text = dir.toString();
        Path source = Paths.get(text.substring(0, text.lastIndexOf(DIR_SUFFIX)));
        return removeEmptySource(source) && treeGone;
    }

    private static boolean removeEmptySource(Path source) {
        BasicFileAttributes attrs;
        try {
            attrs = Files.readAttributes(source, BasicFileAttributes.class, NO_FOLLOW);
        } catch (NoSuchFileException e) {
            return true;
        } catch (IOException e) {
            return false;
        }
        if (!attrs.isRegularFile() || attrs.size() != 0) {
            // Not the empty placeholder the launcher made: someone else's, keep it.
            return true;
        }
        return delete(source);
    }

    private static boolean removeTree(final Path root) {
        BasicFileAttributes rootAttrs;
        try {
            rootAttrs = Files.readAttributes(root, BasicFileAttributes.class, NO_FOLLOW);
        } catch (NoSuchFileException e) {
            return true;
        } catch (IOException e) {
            return false;
        }
        if (rootAttrs.isSymbolicLink() || (rootAttrs.isDirectory() && isLink(root, rootAttrs))) {
            return delete(root);
        }
        if (!rootAttrs.isDirectory()) {
            return false;
        }

        final boolean[] ok = {true};
        // Links that look like directories are removed once the walk has left them: the walker
        // holds a listing of them open until then, which keeps Windows from removing a junction.
        final List<Path> links = new ArrayList<Path>();
        try {
            Files.walkFileTree(root, EnumSet.noneOf(FileVisitOption.class), Integer.MAX_VALUE,
                    new SimpleFileVisitor<Path>() {
                        @Override
                        public FileVisitResult preVisitDirectory(Path dir, BasicFileAttributes attrs) {
                            if (!dir.equals(root) && isLink(dir, attrs)) {
                                links.add(dir);
                                return FileVisitResult.SKIP_SUBTREE;
                            }
                            return FileVisitResult.CONTINUE;
                        }

                        @Override
                        public FileVisitResult visitFile(Path file, BasicFileAttributes attrs) {
                            ok[0] &= deleteInside(root, file);
                            return FileVisitResult.CONTINUE;
                        }

                        @Override
                        public FileVisitResult visitFileFailed(Path file, IOException e) {
                            ok[0] = false;
                            return FileVisitResult.CONTINUE;
                        }

                        @Override
                        public FileVisitResult postVisitDirectory(Path dir, IOException e) {
                            for (Iterator<Path> it = links.iterator(); it.hasNext();) {
                                Path link = it.next();
                                if (dir.equals(link.getParent())) {
                                    ok[0] &= deleteInside(root, link);
                                    it.remove();
                                }
                            }
                            ok[0] &= dir.equals(root) ? delete(root) : deleteInside(root, dir);
                            return FileVisitResult.CONTINUE;
                        }
                    });
        } catch (IOException e) {
            return false;
        }
        return ok[0];
    }

    /**
     * Whether a directory entry is really a link. Windows reports a junction as a directory (and
     * as "other", for its reparse point), so its real path is also compared with where a plain
     * directory of that name would be.
     */
    static boolean isLink(Path dir, BasicFileAttributes attrs) {
        if (attrs.isSymbolicLink() || attrs.isOther()) {
            return true;
        }
        Path parent = dir.getParent();
        Path name = dir.getFileName();
        if (parent == null || name == null) {
            return false;
        }
        try {
            Path expected = parent.toRealPath().resolve(name.toString());
            return !dir.toRealPath().equals(expected);
        } catch (IOException | SecurityException e) {
            // A link whose target is gone cannot be resolved; removing the entry alone is safe.
            return true;
        }
    }

    private static boolean deleteInside(Path root, Path entry) {
        if (entry.equals(root) || !entry.startsWith(root)) {
            return false;
        }
        return delete(entry);
    }

    private static boolean delete(Path path) {
        try {
            Files.deleteIfExists(path);
            return true;
        } catch (AccessDeniedException e) {
            // A read-only file on Windows refuses deletion until the flag is cleared.
            try {
                DosFileAttributeView dos =
                        Files.getFileAttributeView(path, DosFileAttributeView.class, NO_FOLLOW);
                if (dos == null) {
                    return false;
                }
                dos.setReadOnly(false);
                Files.deleteIfExists(path);
                return true;
            } catch (IOException | RuntimeException again) {
                return false;
            }
        } catch (IOException | SecurityException e) {
            return false;
        }
    }
}
