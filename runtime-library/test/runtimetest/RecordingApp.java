package runtimetest;

/** An application that records what it was started with and writes one line to each stream. */
public class RecordingApp {

    public static volatile String[] received;

    public static void main(String[] args) {
        received = args;
        System.out.println("out from app " + args.length);
        System.err.println("err from app " + args.length);
    }
}
