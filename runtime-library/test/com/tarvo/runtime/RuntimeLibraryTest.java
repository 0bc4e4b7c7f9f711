package com.tarvo.runtime;

import com.quillmote.runtime.launcher.FirstRun;
import com.tarvo.Controller;
import com.tarvo.StartupListener;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileVisitResult;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.SimpleFileVisitor;
import java.nio.file.attribute.BasicFileAttributes;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.atomic.AtomicInteger;

import runtimetest.ExitingApp;
import runtimetest.FirstRunStep;
import runtimetest.RecordingApp;
import runtimetest.ThrowingApp;

/**
 * Tests of the runtime library, run by ctest. Plain Java: each check prints a failure line, and
 * the exit code is the number of failures (capped).
 */
public final class RuntimeLibraryTest {

    private static int failures;
    private static Path base;

    public static void main(String[] args) throws Exception {
        base = Files.createTempDirectory("runtime-library-test").toRealPath();
        try {
            tempDirCleanup();
            cleanupAtExitInChildProcess();
            argumentHandOff();
            logRedirection();
            applicationFailures();
            startupQueue();
            splashController();
            splashColours();
            firstRunStep();
        } catch (Throwable t) {
            fail("unexpected " + t);
            t.printStackTrace();
        } finally {
            removeTestTree(base);
        }
        System.out.println(failures == 0 ? "all runtime library tests passed"
                : failures + " runtime library check(s) failed");
        System.exit(Math.min(failures, 100));
    }

    // ---- checks -------------------------------------------------------------------------------

    private static void check(boolean condition, String what) {
        if (!condition) {
            fail(what);
        }
    }

    private static void checkEquals(Object expected, Object actual, String what) {
        boolean same = expected == null ? actual == null : expected.equals(actual);
        if (!same) {
            fail(what + ": expected <" + expected + "> but was <" + actual + ">");
        }
    }

    private static void fail(String what) {
        failures++;
        System.out.println("FAIL " + what);
    }

    // ---- fixtures -----------------------------------------------------------------------------

    private static Path write(Path file, String content) throws IOException {
        Files.createDirectories(file.getParent());
        Files.write(file, content.getBytes(StandardCharsets.UTF_8));
        return file;
    }

    private static String read(Path file) throws IOException {
        return new String(Files.readAllBytes(file), StandardCharsets.UTF_8);
    }

    private static boolean present(Path p) {
        return Files.exists(p, LinkOption.NOFOLLOW_LINKS);
    }

    /** The test's own tree: links are removed as entries, never followed. */
    private static void removeTestTree(Path root) throws IOException {
        if (!present(root)) {
            return;
        }
        Files.walkFileTree(root, new SimpleFileVisitor<Path>() {
            @Override
            public FileVisitResult visitFile(Path file, BasicFileAttributes attrs) throws IOException {
                Files.delete(file);
                return FileVisitResult.CONTINUE;
            }

            @Override
            public FileVisitResult postVisitDirectory(Path dir, IOException e) throws IOException {
                Files.delete(dir);
                return FileVisitResult.CONTINUE;
            }
        });
    }

    /** Captures System.out and System.err for one call and puts the old ones back. */
    private static final class Streams implements AutoCloseable {
        final PrintStream oldOut = System.out;
        final PrintStream oldErr = System.err;
        final ByteArrayOutputStream out = new ByteArrayOutputStream();
        final ByteArrayOutputStream err = new ByteArrayOutputStream();
        final PrintStream outStream = new PrintStream(out, true);
        final PrintStream errStream = new PrintStream(err, true);

        Streams() {
            System.setOut(outStream);
            System.setErr(errStream);
        }

        @Override
        public void close() {
            // Streams the launcher opened on log files are closed so the files can be read whole.
            if (System.out != outStream) {
                System.out.close();
            }
            if (System.err != errStream && System.err != System.out) {
                System.err.close();
            }
            System.setOut(oldOut);
            System.setErr(oldErr);
        }
    }

    private static String[] launcherArgs(String gui, String mainClass, String errorLog,
            String outputLog, String append, String program, String... appArgs) {
        List<String> all = new ArrayList<String>(Arrays.asList(gui, mainClass, errorLog,
                outputLog, append, program));
        all.addAll(Arrays.asList(appArgs));
        return all.toArray(new String[0]);
    }

    // ---- temporary directory cleanup ----------------------------------------------------------

    private static void tempDirCleanup() throws IOException {
        Path area = Files.createDirectories(base.resolve("cleanup"));
        Path outside = Files.createDirectories(area.resolve("outside"));
        Path keep = write(outside.resolve("keep.txt"), "keep");
        Path deepKeep = write(outside.resolve("sub/deep.txt"), "deep");
        Path emptyOutside = write(outside.resolve("empty.dat"), "");

        // The usual case: an empty source file, nested content and links of every kind inside.
        Path source = write(area.resolve("tvo1a2b.tmp"), "");
        Path dir = Files.createDirectories(area.resolve("tvo1a2b.tmp_dir1700000000"));
        write(dir.resolve("lib/extra.jar"), "jar");
        write(dir.resolve("lib/deeper/more.txt"), "more");
        write(dir.resolve("top.txt"), "top");
        Files.createSymbolicLink(dir.resolve("dirLink"), outside);
        Files.createSymbolicLink(dir.resolve("lib/fileLink"), keep);
        Files.createSymbolicLink(dir.resolve("lib/deeper/dangling"), area.resolve("nowhere"));
        check(TempDirCleanup.remove(dir.toString()), "cleanup reports success");
        check(!present(dir), "cleanup removes the directory with its nested content and links");
        check(!present(source), "cleanup removes the empty source file");
        check(Files.isDirectory(outside) && present(keep) && present(deepKeep),
                "cleanup leaves what a link inside points to");
        checkEquals("keep", read(keep), "linked file content");

        // The source file: removed only when it is an empty regular file.
        Object[][] sources = {
            // name, how the source is made, whether it survives
            {"full.tmp", "content", true},
            {"folder.tmp", "directory", true},
            {"linked.tmp", "link to empty file", true},
            {"missing.tmp", "none", false},
            {"negative.tmp", "empty", false},
        };
        for (Object[] row : sources) {
            String name = (String) row[0];
            String kind = (String) row[1];
            boolean survives = (Boolean) row[2];
            Path src = area.resolve(name);
            if (kind.equals("content")) {
                write(src, "not empty");
            } else if (kind.equals("directory")) {
                Files.createDirectories(src);
            } else if (kind.equals("link to empty file")) {
                Files.createSymbolicLink(src, emptyOutside);
            } else if (kind.equals("empty")) {
                write(src, "");
            }
            String suffix = name.startsWith("negative") ? "_dir-5" : "_dir42";
            Path d = Files.createDirectories(area.resolve(name + suffix));
            write(d.resolve("f.txt"), "f");
            TempDirCleanup.remove(d.toString());
            check(!present(d), "directory removed beside source " + kind);
            checkEquals(survives, present(src), "source " + kind + " survives");
        }
        check(present(emptyOutside), "the target of a linked source file survives");

        // The directory itself replaced by a link: only the link goes.
        Path linkedDir = area.resolve("swapped.tmp_dir77");
        Files.createSymbolicLink(linkedDir, outside);
        TempDirCleanup.remove(linkedDir.toString());
        check(!present(linkedDir), "a link in the directory's place is removed");
        check(present(keep) && present(deepKeep), "the link's target survives");

        // Names the launcher does not make are never touched.
        Path notOurs = write(area.resolve("data/precious.txt"), "precious").getParent();
        Path noDigits = write(area.resolve("x.tmp_dir/precious.txt"), "precious").getParent();
        for (Path p : new Path[] {notOurs, noDigits}) {
            check(!TempDirCleanup.remove(p.toString()), "refuses " + p.getFileName());
            check(present(p.resolve("precious.txt")), "leaves " + p.getFileName() + " alone");
        }
        check(TempDirCleanup.remove(""), "an empty property means nothing to do");
        check(TempDirCleanup.remove(area.resolve("gone.tmp_dir1").toString()),
                "a directory that is already gone is fine");
    }

    /** The real exit path: hook installed by main, output flushed before System.exit. */
    private static void cleanupAtExitInChildProcess() throws Exception {
        Path area = Files.createDirectories(base.resolve("child"));
        Path outside = write(area.resolve("outside/keep.txt"), "keep").getParent();
        Path source = write(area.resolve("tvo9.tmp"), "");
        Path dir = Files.createDirectories(area.resolve("tvo9.tmp_dir1700000001"));
        write(dir.resolve("extracted.jar"), "jar");
        Files.createSymbolicLink(dir.resolve("link"), outside);
        Path outLog = area.resolve("logs/out.log");
        Path errLog = area.resolve("logs/err.log");

        String java = Paths.get(System.getProperty("java.home"), "bin", "java").toString();
        List<String> command = new ArrayList<String>(Arrays.asList(java,
                "-Djava.awt.headless=true",
                "-Dtarvo.tempDir=" + dir,
                "-cp", System.getProperty("java.class.path"),
                "com.quillmote.runtime.launcher.WinLauncher"));
        command.addAll(Arrays.asList(launcherArgs("false", ExitingApp.class.getName(),
                errLog.toString(), outLog.toString(), "false", "prog.exe", "one", "two")));
        ProcessBuilder pb = new ProcessBuilder(command);
        pb.redirectErrorStream(true);
        pb.redirectOutput(area.resolve("console.txt").toFile());
        Process child = pb.start();
        int code = child.waitFor();

        checkEquals(3, code, "exit code of the child that called System.exit");
        checkEquals("unterminated 2", read(outLog), "output printed just before System.exit");
        checkEquals("error before exit", read(errLog), "error output printed before System.exit");
        check(!present(dir), "the exit hook removes the temporary directory");
        check(!present(source), "the exit hook removes the empty source file");
        check(present(outside.resolve("keep.txt")), "the exit hook leaves the link's target");
    }

    // ---- launching ----------------------------------------------------------------------------

    private static void argumentHandOff() throws Exception {
        String[] flavours = {"com.tarvo.runtime.WinLauncher",
            "com.quillmote.runtime.launcher.WinLauncher"};
        String[][] appArgs = {{}, {"a", "b c", "", "-x", "\u00e9\u4e2d"}};
        for (String flavour : flavours) {
            for (String[] given : appArgs) {
                for (String gui : new String[] {"true", "false"}) {
                    RecordingApp.received = null;
                    String program = "C:\\Program Files\\App\\" + gui + ".exe";
                    String[] launcher = launcherArgs(gui, RecordingApp.class.getName(), "", "",
                            "false", program, given);
                    try (Streams s = new Streams()) {
                        Class.forName(flavour).getMethod("main", String[].class)
                                .invoke(null, (Object) launcher);
                        checkEquals("out from app " + given.length + System.lineSeparator(),
                                s.out.toString(), flavour + ": no log file leaves System.out");
                    }
                    String what = flavour + " with " + given.length + " arguments, gui " + gui;
                    check(RecordingApp.received != null
                            && Arrays.equals(given, RecordingApp.received), what + ": arguments");
                    checkEquals(program, System.getProperty(Launch.PROGRAM_PATH), what);
                    checkEquals(gui, System.getProperty(Launch.GUI_APPLICATION), what);
                }
            }
        }
        // A main class that is not public starts like it does with the java command.
        try (Streams s = new Streams()) {
            WinLauncher.main(launcherArgs("false", "runtimetest.PackagePrivateApp", "", "",
                    "false", "p", "z"));
        }
        check(Arrays.equals(new String[] {"z"}, packagePrivateReceived()),
                "a non-public main class is started");
    }

    private static String[] packagePrivateReceived() throws Exception {
        java.lang.reflect.Field f =
                Class.forName("runtimetest.PackagePrivateApp").getDeclaredField("received");
        f.setAccessible(true);
        return (String[]) f.get(null);
    }

    private static void logRedirection() throws Exception {
        Path logs = base.resolve("logs");
        Path err = logs.resolve("a/b/err.log");
        Path out = logs.resolve("c/out.log");
        String app = RecordingApp.class.getName();

        // Each start empties the logs, or appends to them, as the switch says.
        Object[][] modes = {{"false", ""}, {"true", "earlier\n"}};
        for (Object[] mode : modes) {
            String append = (String) mode[0];
            String kept = (String) mode[1];
            write(err, "earlier\n");
            write(out, "earlier\n");
            try (Streams s = new Streams()) {
                WinLauncher.main(launcherArgs("true", app, err.toString(), out.toString(), append,
                        "p", "x"));
                checkEquals("", s.out.toString() + s.err.toString(),
                        "append " + append + ": nothing reaches the original streams");
                checkEquals(err.toString(), System.getProperty(LogRedirect.ERROR_LOG),
                        "error log property");
            }
            String nl = System.lineSeparator();
            checkEquals(kept + "err from app 1" + nl, read(err), "error log, append " + append);
            checkEquals(kept + "out from app 1" + nl, read(out), "output log, append " + append);
            checkEquals(append, System.getProperty(Launch.APPEND_LOGS), "append property");
        }

        // One file for both streams keeps both lines, even when starting empty.
        Path both = logs.resolve("both.log");
        write(both, "earlier\n");
        try (Streams s = new Streams()) {
            WinLauncher.main(launcherArgs("false", app, both.toString(), both.toString(),
                    "false", "p"));
        }
        String nl = System.lineSeparator();
        checkEquals("out from app 0" + nl + "err from app 0" + nl, read(both),
                "one log file for both streams");

        // A name that is still an unexpanded reference redirects nothing and says so.
        String unexpanded = "${NO_SUCH_VARIABLE_" + System.nanoTime() + "}\\err.log";
        try (Streams s = new Streams()) {
            WinLauncher.main(launcherArgs("false", app, unexpanded, "", "false", "p"));
            String said = s.err.toString();
            check(said.contains(unexpanded) && said.contains("not redirected"),
                    "unexpanded error-log name is reported: " + said);
            check(said.contains("err from app 0"), "unexpanded name leaves System.err in place");
            check(System.err == s.errStream, "System.err was not replaced");
        }
        check(!new File(unexpanded).exists(), "no file is made for an unexpanded name");
    }

    private static void applicationFailures() throws Exception {
        try (Streams s = new Streams()) {
            WinLauncher.main(launcherArgs("false", ThrowingApp.class.getName(), "", "", "false",
                    "p"));
            fail("an exception from the application's main must come out of main");
        } catch (IllegalStateException e) {
            check(e == ThrowingApp.FAILURE, "the application's own exception comes out unchanged");
        }

        Object[][] cases = {
            // main class, expected exception type, text the message must hold
            {"runtimetest.DoesNotExist", ClassNotFoundException.class, "runtimetest.DoesNotExist"},
            {"runtimetest.NoMainApp", NoSuchMethodException.class, "main(String[])"},
            {"", IllegalArgumentException.class, "main class"},
        };
        for (Object[] c : cases) {
            String mainClass = (String) c[0];
            try (Streams s = new Streams()) {
                WinLauncher.main(launcherArgs("false", mainClass, "", "", "false", "p"));
                fail("starting '" + mainClass + "' must end with an exception");
            } catch (Exception e) {
                checkEquals(c[1], e.getClass(), "exception for '" + mainClass + "'");
                String message = String.valueOf(e.getMessage());
                check(message.contains((String) c[2]),
                        "message for '" + mainClass + "' names the problem: " + message);
            }
        }
        try {
            WinLauncher.main(new String[] {"false", "x"});
            fail("too few launcher parameters must end with an exception");
        } catch (IllegalArgumentException e) {
            check(e.getMessage().contains("2"), "message counts the parameters: " + e.getMessage());
        }
    }

    // ---- single-instance starts ---------------------------------------------------------------

    private static class Recorder implements StartupListener {
        final List<String> got = Collections.synchronizedList(new ArrayList<String>());

        @Override
        public void startupPerformed(String commandLine) {
            got.add(commandLine);
        }
    }

    /** Lingers in each call, so deliveries that overlap or overtake each other show up. */
    private static final class SlowRecorder extends Recorder {
        final AtomicInteger inside = new AtomicInteger();
        volatile boolean overlapped;

        @Override
        public void startupPerformed(String commandLine) {
            overlapped |= inside.incrementAndGet() > 1;
            long until = System.nanoTime() + 20000;
            while (System.nanoTime() < until) {
                Thread.yield();
            }
            super.startupPerformed(commandLine);
            inside.decrementAndGet();
        }
    }

    private static void startupQueue() throws Exception {
        // Starts before any listener are kept, nulls included, and delivered in order.
        Controller.startupPerformed("first");
        Controller.startupPerformed(null);
        Controller.startupPerformed("\"a b\" c");
        Recorder early = new Recorder();
        Controller.addStartupListener(early);
        checkEquals(Arrays.asList("first", null, "\"a b\" c"), early.got,
                "queued starts on registration");
        Controller.startupPerformed("later");
        checkEquals("later", early.got.get(early.got.size() - 1), "a start with a listener");

        // A second listener gets only what comes after it; a failing one costs the others nothing.
        Recorder second = new Recorder();
        StartupListener failing = new StartupListener() {
            @Override
            public void startupPerformed(String commandLine) {
                throw new IllegalStateException("listener failed on purpose");
            }
        };
        Controller.addStartupListener(failing);
        Controller.addStartupListener(second);
        try (Streams s = new Streams()) {
            Controller.startupPerformed("both");
        }
        checkEquals(Arrays.asList("both"), second.got, "second listener");
        checkEquals(5, early.got.size(), "first listener after a failing one");
        Controller.removeStartupListener(failing);
        Controller.removeStartupListener(second);
        Controller.removeStartupListener(early);

        // With no listener left, starts are kept again. Starts on several threads racing with
        // the registration are each delivered once, in each thread's order.
        Controller.startupPerformed("while none");
        final int threads = 4;
        final int perThread = 300;
        final CountDownLatch go = new CountDownLatch(1);
        List<Thread> senders = new ArrayList<Thread>();
        for (int t = 0; t < threads; t++) {
            final int id = t;
            Thread sender = new Thread(new Runnable() {
                @Override
                public void run() {
                    try {
                        go.await();
                    } catch (InterruptedException e) {
                        return;
                    }
                    for (int i = 0; i < perThread; i++) {
                        Controller.startupPerformed(id + ":" + i);
                    }
                }
            });
            sender.start();
            senders.add(sender);
        }
        SlowRecorder racing = new SlowRecorder();
        go.countDown();
        Controller.addStartupListener(racing);
        for (Thread sender : senders) {
            sender.join();
        }
        List<String> got = new ArrayList<String>(racing.got);
        checkEquals(threads * perThread + 1, got.size(), "every racing start delivered once");
        checkEquals("while none", got.isEmpty() ? null : got.get(0), "the kept start comes first");
        int[] next = new int[threads];
        boolean ordered = true;
        for (String s : got.subList(Math.min(1, got.size()), got.size())) {
            String[] parts = s.split(":");
            int id = Integer.parseInt(parts[0]);
            ordered &= Integer.parseInt(parts[1]) == next[id];
            next[id]++;
        }
        check(ordered, "each thread's starts arrive in its order");
        check(!racing.overlapped, "deliveries never overlap");
        Controller.removeStartupListener(racing);
    }

    // ---- splash -------------------------------------------------------------------------------

    private static void splashController() {
        TarvoController.reset();
        checkEquals(TarvoController.NO_ACTION, TarvoController.getAction(), "initially nothing");
        checkEquals(null, TarvoController.getText(), "initially no text");

        Splash.setStatusText("Loading modules");
        checkEquals(TarvoController.NEW_TEXT, TarvoController.getAction(), "a text is ready");
        checkEquals(TarvoController.NEW_TEXT, TarvoController.getAction(), "until it is fetched");
        checkEquals("Loading modules", TarvoController.getText(), "the text");
        checkEquals(TarvoController.NO_ACTION, TarvoController.getAction(), "fetched once");
        checkEquals(null, TarvoController.getText(), "no text twice");

        Splash.setStatusText("older");
        Splash.setStatusText("newest");
        checkEquals("newest", TarvoController.getText(), "the newest of several texts");
        Splash.setStatusText(null);
        checkEquals(TarvoController.NEW_TEXT, TarvoController.getAction(), "null is a change too");
        checkEquals("", TarvoController.getText(), "null clears the line");

        Splash.setStatusText("pending");
        Splash.close();
        checkEquals(TarvoController.CLOSE, TarvoController.getAction(), "close wins over text");
        Splash.setStatusText("after close");
        checkEquals(TarvoController.CLOSE, TarvoController.getAction(), "close stays");

        // The runtime's splash path must be harmless without a splash (the tests run headless).
        try {
            WinLauncher.initAwtSplashConfig(true, true, "Loading", 221, 137, "255,255,255", 8,
                    700, "1.0", 360, 228, "not a colour", 8, 400);
            Splash.setStatusText("headless");
            Splash.close();
        } catch (Throwable t) {
            fail("splash calls without a splash screen throw " + t);
        }
        TarvoController.reset();
    }

    private static void splashColours() {
        Object[][] table = {
            {"255,255,255", 0xFFFFFF},
            {"97,97,97", 0x616161},
            {" 1 , 2 ,3 ", 0x010203},
            {"300,-4,16", 0xFF0010},
            {"1,2", AwtSplash.FALLBACK_RGB},
            {"1,2,3,4", AwtSplash.FALLBACK_RGB},
            {"red", AwtSplash.FALLBACK_RGB},
            {"1,,3", AwtSplash.FALLBACK_RGB},
            {"", AwtSplash.FALLBACK_RGB},
            {null, AwtSplash.FALLBACK_RGB},
        };
        for (Object[] row : table) {
            checkEquals(row[1], AwtSplash.parseColour((String) row[0]), "colour " + row[0]);
        }
    }

    // ---- first run ----------------------------------------------------------------------------

    private static void firstRunStep() throws Exception {
        Path app = Files.createDirectories(base.resolve("app"));
        Path marker = app.resolve(".quillmote/firstrun");
        System.setProperty(FirstRun.APPLICATION_DIRECTORY, app.toString());
        String step = FirstRunStep.class.getName();
        RuntimeException failure = new IllegalStateException("step failed on purpose");

        Object[][] table = {
            // marker content, step answer, step failure, result (null: throws), marker kept
            {"", false, null, true, false},
            {step + "\n# rest ignored\n", true, null, true, false},
            {"\uFEFF  " + step + "  \r\n", true, null, true, false},
            {step, false, null, false, true},
            {step, true, failure, null, true},
            {"runtimetest.NoSuchStep", true, null, null, true},
        };
        for (Object[] row : table) {
            String content = (String) row[0];
            write(marker, content);
            FirstRunStep.answer = (Boolean) row[1];
            FirstRunStep.failure = (RuntimeException) row[2];
            Boolean result;
            try {
                result = FirstRun.firstRun();
            } catch (Exception e) {
                result = null;
                check(row[2] == null || e == row[2], "the step's own exception comes out");
            }
            String what = "first run with marker '" + content.trim() + "'";
            checkEquals(row[3], result, what);
            checkEquals(row[4], present(marker), what + ": marker kept");
        }

        // Without the override, the executable's parent folder is found from the module name.
        System.clearProperty(FirstRun.APPLICATION_DIRECTORY);
        Path other = Files.createDirectories(base.resolve("other"));
        Path otherMarker = write(other.resolve(".quillmote/firstrun"), "");
        System.setProperty("tarvo.moduleName", other.resolve("bin/app.exe").toString());
        check(FirstRun.firstRun(), "first run through the module name");
        check(!present(otherMarker), "marker beside the executable's parent removed");

        // No marker anywhere: the launch goes on.
        try (Streams s = new Streams()) {
            check(FirstRun.firstRun(), "no marker lets the launch go on");
        }
        System.clearProperty("tarvo.moduleName");
    }
}
