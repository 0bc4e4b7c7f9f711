package com.tarvo.runtime;

import java.io.File;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.PrintStream;

/** Sends System.err and System.out to the configured log files. */
final class LogRedirect {

    /** The error-log file in use, set only when System.err was redirected. */
    static final String ERROR_LOG = "tarvo.errorLog";
    /** The output-log file in use, set only when System.out was redirected. */
    static final String OUTPUT_LOG = "tarvo.outputLog";

    private LogRedirect() {
    }

    /**
     * Redirects each stream whose file name is usable. Problems are reported on the original
     * System.err and leave that stream as it was; nothing here stops the launch.
     */
    static void apply(String errorName, String outputName, boolean append) {
        PrintStream report = System.err;
        File errorFile = usableFile(errorName, "error", report);
        File outputFile = usableFile(outputName, "output", report);

        PrintStream err = errorFile == null ? null : open(errorFile, append, report);
        PrintStream out = null;
        if (outputFile != null) {
            // One file for both streams gets one stream: two truncating opens would overwrite
            // each other's lines.
            out = err != null && sameFile(errorFile, outputFile) ? err
                    : open(outputFile, append, report);
        }
        if (err != null) {
            System.setErr(err);
            System.setProperty(ERROR_LOG, errorFile.getPath());
        }
        if (out != null) {
            System.setOut(out);
            System.setProperty(OUTPUT_LOG, outputFile.getPath());
        }
    }

    private static File usableFile(String name, String which, PrintStream report) {
        if (name == null || name.isEmpty()) {
            return null;
        }
        if (name.startsWith("$")) {
            // The launcher leaves a reference it could not expand as it is.
            report.println("The " + which + " log file name \"" + name
                    + "\" holds an unexpanded variable; standard " + which
                    + " is not redirected.");
            return null;
        }
        return new File(name).getAbsoluteFile();
    }

    private static PrintStream open(File file, boolean append, PrintStream report) {
        try {
            File parent = file.getParentFile();
            if (parent != null && !parent.isDirectory() && !parent.mkdirs() && !parent.isDirectory()) {
                throw new IOException("cannot create the folder " + parent);
            }
            // Unbuffered underneath and flushed on every write, so System.exit or a crash loses
            // nothing that was printed.
            return new PrintStream(new FileOutputStream(file, append), true);
        } catch (IOException | SecurityException e) {
            report.println("Cannot open the log file " + file + " (" + e.getMessage()
                    + "); the stream is not redirected.");
            return null;
        }
    }

    private static boolean sameFile(File a, File b) {
        try {
            return a.getCanonicalFile().equals(b.getCanonicalFile());
        } catch (IOException e) {
            return a.equals(b);
        }
    }
}
