package realapp;

import java.io.File;
import java.io.FileInputStream;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStreamWriter;
import java.io.Writer;
import java.nio.charset.StandardCharsets;

/**
 * Started by the end-to-end tables through the launcher on real runtimes. The first argument says
 * how it ends: "exit N" calls System.exit(N), "throw" throws from main; anything else writes what
 * the application received to the file named by the property report.file (UTF-8, one item a
 * line) and leaves a non-daemon thread that adds a last line about a second later.
 *
 * Stays away from UUID, SecureRandom and networking: on Java 21 and later they list network
 * interfaces, which aborts the process under Wine 8.
 */
public final class ReportApp {

    private static final String[] LAUNCHER_PROPERTIES = {
        "java.version", "java.home", "tarvo.isQuillmote", "tarvo.moduleName", "sun.java.command",
        "tarvo.programPath", "tarvo.guiApplication", "tarvo.unextractedPosition", "tarvo.tempDir",
    };
    private static final String[] OTHER_PROPERTIES = {
        "java.class.path", "user.dir", "from.block", "quoted", "umlaut", "from.command.line",
        "from.file", "from.include",
    };

    private ReportApp() {
    }

    public static void main(String[] args) throws Exception {
        String mode = args.length > 0 ? args[0] : "";
        if (mode.equals("exit")) {
            System.exit(Integer.parseInt(args[1]));
        }
        if (mode.equals("throw")) {
            throw new IllegalStateException("thrown by the application");
        }
        final File report = new File(System.getProperty("report.file"));
        StringBuilder text = new StringBuilder();
        appendProperties(text, LAUNCHER_PROPERTIES);
        String tempDir = System.getProperty("tarvo.tempDir");
        text.append("included data.txt=").append(read(new File(tempDir, "data.txt"))).append('\n');
        appendProperties(text, OTHER_PROPERTIES);
        String libraryPath = System.getProperty("java.library.path");
        text.append("java.library.path ends with ")
            .append(libraryPath.substring(libraryPath.lastIndexOf(';') + 1)).append('\n');
        for (int i = 0; i < args.length; i++) {
            text.append("arg[").append(i).append("]=").append(args[i]).append('\n');
        }
        write(report, text.toString(), false);

        Thread late = new Thread(new Runnable() {
            @Override
            public void run() {
                try {
                    Thread.sleep(1000);
                    write(report, "non-daemon thread done\n", true);
                } catch (Exception e) {
                    e.printStackTrace();
                }
            }
        });
        late.setDaemon(false);
        late.start();
    }

    private static void appendProperties(StringBuilder text, String[] names) {
        for (String name : names) {
            text.append(name).append('=').append(System.getProperty(name)).append('\n');
        }
    }

    private static String read(File file) throws IOException {
        InputStream in = new FileInputStream(file);
        try {
            byte[] buffer = new byte[4096];
            int length = in.read(buffer);
            return length < 0 ? "" : new String(buffer, 0, length, StandardCharsets.UTF_8);
        } finally {
            in.close();
        }
    }

    private static void write(File file, String text, boolean append) throws IOException {
        Writer out = new OutputStreamWriter(new FileOutputStream(file, append), StandardCharsets.UTF_8);
        try {
            out.write(text);
        } finally {
            out.close();
        }
    }
}
